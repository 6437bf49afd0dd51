// The frontmost application on Sway, from its IPC socket: the focused container's process,
// Wayland and XWayland windows alike, its app_id (or X11 class) cached as the owner name.
// Window and workspace events are read on the Qt event loop; nothing is polled. The window
// focused at the start is reported too, once the loop runs.
#pragma once

#include "platform/linux/ReportingWorkspace.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QJsonObject;
class QSocketNotifier;
class SwayIpc;
struct NVSwayMessage;

class SwayWorkspace : public ReportingWorkspace {
public:
    // Null when nothing answers on socketPath or the subscription is refused.
    static std::unique_ptr<SwayWorkspace> open(const std::string& socketPath);
    ~SwayWorkspace() override;
    SwayWorkspace(const SwayWorkspace&) = delete;
    SwayWorkspace& operator=(const SwayWorkspace&) = delete;

    // False once the compositor has gone: nothing is reported any more.
    bool isConnected() const;

private:
    explicit SwayWorkspace(std::unique_ptr<SwayIpc> ipc);
    void readEvents();
    // The state after one event; the caller reports once per burst.
    void apply(const NVSwayMessage& event);
    void focus(const QJsonObject& container);
    void unfocus();

    std::unique_ptr<SwayIpc> ipc_;
    std::unique_ptr<QSocketNotifier> notifier_;
    // The focus as the events read so far leave it.
    int64_t container_ = 0; // the focused window's container; 0 for none
    int32_t pid_ = 0;
    std::string program_; // pid_'s, read when pid_ changes
    std::string ownerName_;
};
