#include "platform/qt/PidWorkspace.h"

#include "platform/linux/ProcessList.h"

namespace {

// Long enough for the compositor's next activation to arrive on the bus.
constexpr int kNoWindowDelayMs = 50;

} // namespace

PidWorkspace::PidWorkspace()
{
    noWindow_.setSingleShot(true);
    noWindow_.setInterval(kNoWindowDelayMs);
    QObject::connect(&noWindow_, &QTimer::timeout, [this] {
        owner_.clear();
        report({});
    });
}

void PidWorkspace::activate(int32_t pid, const std::string& ownerName)
{
    if (pid <= 0) {
        if (!noWindow_.isActive())
            noWindow_.start();
        return;
    }
    noWindow_.stop();
    owner_ = ownerName;
    report(nv_process_program(pid));
}

void PidWorkspace::report(std::string path)
{
    if (reported_ && path == path_)
        return;
    path_ = std::move(path);
    if (!handler_)
        return;
    reported_ = true;
    handler_(path_);
}
