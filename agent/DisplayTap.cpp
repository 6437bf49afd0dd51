#include "agent/DisplayTap.h"

DisplayTap::DisplayTap(DisplayList& inner) : inner_(inner)
{
    inner_.setReconfigurationHandler([this] { reconfigured(); });
}

void DisplayTap::addFollower(std::function<void()> follower)
{
    followers_.push_back(std::move(follower));
}

bool DisplayTap::activeDisplays(std::vector<NVDisplayInfo>& out)
{
    return inner_.activeDisplays(out);
}

void DisplayTap::setReconfigurationHandler(std::function<void()> handler)
{
    handler_ = std::move(handler);
}

void DisplayTap::reconfigured()
{
    for (const auto& f : followers_)
        f();
    if (handler_)
        handler_();
}
