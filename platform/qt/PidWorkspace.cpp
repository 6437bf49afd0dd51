#include "platform/qt/PidWorkspace.h"

#include "platform/linux/ProcessList.h"

#include <unistd.h>

namespace {

// Long enough for the compositor's next activation to arrive on the bus.
constexpr int kNoWindowDelayMs = 50;

} // namespace

PidWorkspace::PidWorkspace()
{
    noWindow_.setSingleShot(true);
    noWindow_.setInterval(kNoWindowDelayMs);
    QObject::connect(&noWindow_, &QTimer::timeout, [this] { reportActivation({}, {}); });
}

void PidWorkspace::activate(int32_t pid, const std::string& ownerName)
{
    // The agent's own window (its tip) may be activated as any new window is: the
    // application the user works in stays the frontmost, "no window" before it included.
    if (pid == getpid()) {
        noWindow_.stop();
        return;
    }
    if (pid <= 0) {
        if (!noWindow_.isActive())
            noWindow_.start();
        return;
    }
    noWindow_.stop();
    reportActivation(nv_process_program(pid), ownerName);
}

void PidWorkspace::reportActivation(std::string path, std::string owner)
{
    report(std::move(path), std::move(owner));
    reportFirst();
}
