// A notification centre: posts a name with property-list user info to every observer of
// that name. The in-process centre delivers at once; the bus-backed one delivers on the
// observing thread's event loop, in every process, the poster included.
#pragma once

#include "core/channel/NVPlist.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class NotificationCenter {
public:
    using Observer = std::function<void(const std::string& name, const NVPlistDict& userInfo)>;
    using Token = uint64_t;

    virtual ~NotificationCenter() = default;
    virtual void post(const std::string& name, const NVPlistDict& userInfo) = 0;
    virtual Token observe(const std::string& name, Observer observer) = 0;
    virtual void removeObserver(Token token) = 0;
};

// In-process centre: observers run synchronously, in the order they registered. An
// observer may add or remove observers while it runs.
class LocalNotificationCenter : public NotificationCenter {
public:
    void post(const std::string& name, const NVPlistDict& userInfo) override;
    Token observe(const std::string& name, Observer observer) override;
    void removeObserver(Token token) override;

private:
    struct Entry {
        Token token;
        std::string name;
        Observer observer;
    };
    std::vector<Entry> entries_;
    Token next_ = 1;
};
