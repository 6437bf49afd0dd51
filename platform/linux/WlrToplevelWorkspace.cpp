#include "platform/linux/WlrToplevelWorkspace.h"

#include "core/log/NVLog.h"

#include "protocols/wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kStateActivated = ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;

} // namespace

// The protocol's callbacks, which see the adapter's state.
struct WlrListeners {
    using Toplevel = WlrToplevelWorkspace::Toplevel;

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
    {
        auto* ws = static_cast<WlrToplevelWorkspace*>(data);
        if (ws->manager_ || std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
            return;
        ws->manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, 3u)));
        zwlr_foreign_toplevel_manager_v1_add_listener(ws->manager_, &managerListener, ws);
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle)
    {
        auto* ws = static_cast<WlrToplevelWorkspace*>(data);
        ws->toplevels_.push_back(std::make_unique<Toplevel>(Toplevel{ws, handle, {}, {}, false, false}));
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, ws->toplevels_.back().get());
    }
    static void finished(void* data, zwlr_foreign_toplevel_manager_v1* manager)
    {
        static_cast<WlrToplevelWorkspace*>(data)->manager_ = nullptr;
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
    }

    static void title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
    static void appId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* id)
    {
        static_cast<Toplevel*>(data)->pendingAppId = id;
    }
    static void output(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states)
    {
        const auto* s = static_cast<const uint32_t*>(states->data);
        const size_t n = states->size / sizeof(uint32_t);
        static_cast<Toplevel*>(data)->pendingActivated = std::find(s, s + n, kStateActivated) != s + n;
    }
    // The changes of one toplevel apply together; the activated one is the frontmost, and
    // one losing that state before the next gains it leaves none.
    static void done(void* data, zwlr_foreign_toplevel_handle_v1*)
    {
        auto* t = static_cast<Toplevel*>(data);
        t->appId = t->pendingAppId;
        if (t->pendingActivated && !t->activated)
            t->owner->active_ = t;
        else if (!t->pendingActivated && t->owner->active_ == t)
            t->owner->active_ = nullptr;
        t->activated = t->pendingActivated;
    }
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1* handle)
    {
        auto* t = static_cast<Toplevel*>(data);
        WlrToplevelWorkspace* ws = t->owner;
        if (ws->active_ == t)
            ws->active_ = nullptr;
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
        std::erase_if(ws->toplevels_, [t](const auto& p) { return p.get() == t; });
    }
    static void parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

    static constexpr wl_registry_listener registryListener{global, globalRemove};
    static constexpr zwlr_foreign_toplevel_manager_v1_listener managerListener{toplevel, finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener handleListener{title,  appId, output, output, state,
                                                                             done,   closed, parent};
};

std::unique_ptr<WlrToplevelWorkspace> WlrToplevelWorkspace::open(const char* displayName, NVAppIdPrograms programs)
{
    wl_display* display = wl_display_connect(displayName);
    if (!display)
        return nullptr;
    std::unique_ptr<WlrToplevelWorkspace> ws(new WlrToplevelWorkspace(display, std::move(programs)));
    ws->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(ws->registry_, &WlrListeners::registryListener, ws.get());
    // The globals, then the toplevels with their first state.
    if (wl_display_roundtrip(display) < 0 || !ws->manager_ || wl_display_roundtrip(display) < 0)
        return nullptr;
    ws->update();
    ws->notifier_ = std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read);
    QObject::connect(ws->notifier_.get(), &QSocketNotifier::activated, [w = ws.get()] { w->readEvents(); });
    // Its profile applies from the start, not only after the next change of program. On
    // the loop: the handler and whoever follows it are set up after construction.
    QTimer::singleShot(0, ws->notifier_.get(), [w = ws.get()] { w->reportFirst(); });
    return ws;
}

WlrToplevelWorkspace::WlrToplevelWorkspace(wl_display* display, NVAppIdPrograms programs)
    : display_(display),
      programs_(std::move(programs)),
      // What Qt names this program's windows, which set no other name.
      ownAppId_(QFileInfo(QCoreApplication::applicationFilePath()).baseName().toStdString())
{
}

WlrToplevelWorkspace::~WlrToplevelWorkspace()
{
    notifier_.reset();
    for (const auto& t : toplevels_)
        zwlr_foreign_toplevel_handle_v1_destroy(t->handle);
    if (manager_)
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    if (registry_)
        wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

bool WlrToplevelWorkspace::isConnected() const
{
    return notifier_ && notifier_->isEnabled();
}

void WlrToplevelWorkspace::readEvents()
{
    bool ok = true;
    if (wl_display_prepare_read(display_) == 0)
        ok = wl_display_read_events(display_) == 0;
    ok = wl_display_dispatch_pending(display_) >= 0 && ok;
    if (!ok) {
        // A hung-up socket stays readable: watching it any longer would spin the loop.
        nv_log("WlrToplevelWorkspace: the Wayland connection was lost, the frontmost application is no longer followed");
        notifier_->setEnabled(false);
        return;
    }
    wl_display_flush(display_);
    update();
}

void WlrToplevelWorkspace::update()
{
    // The agent's own window (its tip) may be activated where the compositor focuses every
    // new window: the application the user works in stays the frontmost.
    if (active_ && active_->appId == ownAppId_)
        return;
    const std::string appId = active_ ? active_->appId : std::string();
    if (appId == appId_)
        return;
    appId_ = appId;
    // The app_id is the owner name; an application of the same program as the one before
    // is no new activation.
    report(programs_.program(appId_), appId_);
}
