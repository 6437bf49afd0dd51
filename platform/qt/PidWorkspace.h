// The frontmost application from a compositor that names the active window's process (a
// KWin script, a GNOME Shell extension): the adapter hands over each activation's process
// and window class; the program the process runs is reported, and the class kept as the
// owner name. Another window of the same program is no new activation, and a window of
// this process (the agent's tip) none at all. "No window" is reported only once it lasts
// a moment: compositors announce it between two windows.
#pragma once

#include "platform/linux/ReportingWorkspace.h"

#include <QTimer>

#include <cstdint>
#include <string>

class PidWorkspace : public ReportingWorkspace {
public:
    PidWorkspace();

protected:
    // pid 0 (or less): nothing is active.
    void activate(int32_t pid, const std::string& ownerName);

private:
    // The first activation is reported whatever it is: the profile in force is decided.
    void reportActivation(std::string path, std::string owner);

    QTimer noWindow_;
};
