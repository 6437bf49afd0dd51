// A frontmost application set by hand.
#pragma once

#include "core/channel/Workspace.h"

class FakeWorkspace : public Workspace {
public:
    const std::string& frontmostOwnerName() const override { return owner_; }
    void setActivationHandler(ActivationHandler handler) override { handler_ = std::move(handler); }

    // Makes appPath the frontmost application, owner its window's owner name.
    void activate(const std::string& appPath, const std::string& owner)
    {
        owner_ = owner;
        if (handler_)
            handler_(appPath);
    }

private:
    std::string owner_;
    ActivationHandler handler_;
};
