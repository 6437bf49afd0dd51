// The frontmost application on a wlroots compositor, from its foreign-toplevel list: the
// app_id of the toplevel in the activated state, resolved through its desktop entry to the
// program it runs (the app_id is cached as the owner name). Read on the Qt event loop over
// a Wayland connection of its own; nothing is polled. The toplevel active at the start is
// reported too, once the loop runs.
#pragma once

#include "platform/linux/NVAppIdPrograms.h"
#include "platform/linux/ReportingWorkspace.h"

#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;

class WlrToplevelWorkspace : public ReportingWorkspace {
public:
    // Null without a Wayland display (displayName null: $WAYLAND_DISPLAY) or when the
    // compositor lists no toplevels to its clients.
    static std::unique_ptr<WlrToplevelWorkspace> open(const char* displayName = nullptr,
                                                      NVAppIdPrograms programs = NVAppIdPrograms());
    ~WlrToplevelWorkspace() override;
    WlrToplevelWorkspace(const WlrToplevelWorkspace&) = delete;
    WlrToplevelWorkspace& operator=(const WlrToplevelWorkspace&) = delete;

    // False once the compositor has gone: nothing is reported any more.
    bool isConnected() const;

    // One toplevel as its events describe it; changes apply at its "done".
    struct Toplevel {
        WlrToplevelWorkspace* owner;
        zwlr_foreign_toplevel_handle_v1* handle;
        std::string appId;
        std::string pendingAppId;
        bool activated = false;
        bool pendingActivated = false;
    };

private:
    WlrToplevelWorkspace(wl_display* display, NVAppIdPrograms programs);
    void readEvents();
    // The activated toplevel's app_id decides the program.
    void update();

    friend struct WlrListeners;
    wl_display* display_;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    std::vector<std::unique_ptr<Toplevel>> toplevels_;
    // The toplevel activated last; null for none.
    Toplevel* active_ = nullptr;
    NVAppIdPrograms programs_;
    std::string ownAppId_;
    std::unique_ptr<QSocketNotifier> notifier_;
    // The app_id in front, the owner name.
    std::string appId_;
};
