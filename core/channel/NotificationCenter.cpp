#include "core/channel/NotificationCenter.h"

#include <algorithm>

void LocalNotificationCenter::post(const std::string& name, const NVPlistDict& userInfo)
{
    // Snapshot the tokens: observers may change the registrations while we deliver.
    std::vector<Token> targets;
    for (const auto& e : entries_)
        if (e.name == name)
            targets.push_back(e.token);
    for (Token t : targets) {
        auto it = std::find_if(entries_.begin(), entries_.end(), [t](const Entry& e) { return e.token == t; });
        if (it == entries_.end())
            continue; // removed by an earlier observer
        Observer observer = it->observer;
        observer(name, userInfo);
    }
}

NotificationCenter::Token LocalNotificationCenter::observe(const std::string& name, Observer observer)
{
    const Token t = next_++;
    entries_.push_back(Entry{t, name, std::move(observer)});
    return t;
}

void LocalNotificationCenter::removeObserver(Token token)
{
    std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}
