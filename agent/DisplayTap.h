// Shares a display list's one reconfiguration slot: the agent's followers (the input
// devices' desktop box, the session recording) hear every reconfiguration, whether or not
// the core has a handler set at the time, and the core's handler runs after them.
#pragma once

#include "core/input/DisplayList.h"

#include <functional>
#include <vector>

class DisplayTap : public DisplayList {
public:
    // inner must outlive the tap; the tap takes inner's handler slot.
    explicit DisplayTap(DisplayList& inner);

    void addFollower(std::function<void()> follower);

    bool activeDisplays(std::vector<NVDisplayInfo>& out) override;
    void setReconfigurationHandler(std::function<void()> handler) override;

private:
    void reconfigured();

    DisplayList& inner_;
    std::vector<std::function<void()>> followers_;
    std::function<void()> handler_;
};
