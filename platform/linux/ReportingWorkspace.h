// What every frontmost-application adapter keeps: the program in front, reported to the
// handler only when it changes, and the owner name of the window in front. An adapter says
// which program and owner are in front; the rule of when the handler hears of it is here.
#pragma once

#include "core/channel/Workspace.h"

#include <string>

class ReportingWorkspace : public Workspace {
public:
    const std::string& frontmostOwnerName() const final { return owner_; }
    void setActivationHandler(ActivationHandler handler) final { handler_ = std::move(handler); }

protected:
    // The program now in front (empty for none, or one that cannot be told) and its owner
    // name. Another window of the same program is no new activation. Without a handler the
    // state is kept and nothing is reported.
    void report(std::string path, std::string owner);
    // Tells the handler the program in front unless it has heard of one already: the
    // profile in force is decided from the start, not only at the next change.
    void reportFirst();

private:
    void tell();

    ActivationHandler handler_;
    std::string path_;
    std::string owner_;
    // The handler has been told of an activation.
    bool reported_ = false;
};
