// Displays set by hand; a change calls the reconfiguration handler once.
#pragma once

#include "core/input/DisplayList.h"

class FakeDisplays : public DisplayList {
public:
    FakeDisplays() = default;
    explicit FakeDisplays(std::vector<NVDisplayInfo> displays) : displays_(std::move(displays)) {}

    bool activeDisplays(std::vector<NVDisplayInfo>& out) override
    {
        if (refuse_)
            return false;
        out = displays_;
        return true;
    }
    void setReconfigurationHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    // The identities given with the displays; false when none were given.
    bool displayIdentities(std::vector<NVDisplayIdentity>& out) override
    {
        out = refuse_ ? std::vector<NVDisplayIdentity>{} : identities_;
        return !out.empty();
    }

    // Replaces the displays and reports one reconfiguration.
    void setDisplays(std::vector<NVDisplayInfo> displays, std::vector<NVDisplayIdentity> identities = {})
    {
        displays_ = std::move(displays);
        identities_ = std::move(identities);
        if (handler_)
            handler_();
    }
    // Makes activeDisplays fail, as a window system that refuses the list.
    void setRefuse(bool refuse) { refuse_ = refuse; }

private:
    std::vector<NVDisplayInfo> displays_;
    std::vector<NVDisplayIdentity> identities_;
    std::function<void()> handler_;
    bool refuse_ = false;
};
