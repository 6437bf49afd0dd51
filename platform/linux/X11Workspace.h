// The frontmost application on an X11 desktop: follows the root window's
// _NET_ACTIVE_WINDOW on a private connection driven by the Qt event loop, reports the
// activated window's program (/proc/PID/exe; empty when there is no active window or its
// program cannot be told) and caches its WM_CLASS as the owner name. The window active
// at the start is reported too, once the loop runs.
#pragma once

#include "platform/linux/ReportingWorkspace.h"

#include <cstdint>
#include <memory>
#include <string>

class QSocketNotifier;
struct xcb_connection_t;

class X11Workspace : public ReportingWorkspace {
public:
    // displayName: null for $DISPLAY. Without a display the workspace reports nothing
    // and logs that once.
    explicit X11Workspace(const char* displayName = nullptr);
    ~X11Workspace() override;
    X11Workspace(const X11Workspace&) = delete;
    X11Workspace& operator=(const X11Workspace&) = delete;

    bool isConnected() const { return conn_ != nullptr; }

private:
    void readEvents();
    // The root's active window; XCB_WINDOW_NONE when there is none.
    uint32_t activeWindow() const;
    void activeWindowChanged();
    // The window's executable; empty for no window or when it cannot be told.
    std::string programPath(uint32_t window) const;
    uint32_t windowPid(uint32_t window) const;
    std::string windowClass(uint32_t window) const;

    xcb_connection_t* conn_ = nullptr;
    uint32_t root_ = 0;
    uint32_t atomActive_ = 0;
    uint32_t atomPid_ = 0;
    bool hasRes_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    uint32_t window_ = 0;
};
