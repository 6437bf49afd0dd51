#include "platform/linux/X11Workspace.h"

#include "core/log/NVLog.h"
#include "platform/linux/ProcessList.h"

#include <QSocketNotifier>
#include <QTimer>
#include <xcb/res.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* r)
{
    return Reply<T>(r, &std::free);
}

uint32_t intern(xcb_connection_t* c, const char* name)
{
    auto r = reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return r ? r->atom : uint32_t(XCB_ATOM_NONE);
}

} // namespace

X11Workspace::X11Workspace(const char* displayName)
{
    int screenNum = 0;
    xcb_connection_t* c = xcb_connect(displayName, &screenNum);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        nv_log("X11Workspace: no X11 display, the frontmost application is not followed");
        return;
    }
    conn_ = c;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn_));
    for (int i = 0; i < screenNum && it.rem; ++i)
        xcb_screen_next(&it);
    root_ = it.data->root;
    atomActive_ = intern(conn_, "_NET_ACTIVE_WINDOW");
    atomPid_ = intern(conn_, "_NET_WM_PID");
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(conn_, &xcb_res_id);
    hasRes_ = res && res->present;

    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(conn_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(conn_);
    // Learn what is frontmost now, so that the owner name is right from the start.
    window_ = activeWindow();
    report(programPath(window_), windowClass(window_));

    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(conn_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    readEvents();
    // Its profile applies from the start, not only after the next change of program. On
    // the loop: the handler and whoever follows it are set up after construction.
    QTimer::singleShot(0, notifier_.get(), [this] { reportFirst(); });
}

X11Workspace::~X11Workspace()
{
    notifier_.reset();
    if (conn_)
        xcb_disconnect(conn_);
}

void X11Workspace::readEvents()
{
    // The round trips of a change read the socket dry and queue what arrives meanwhile,
    // with no further wake-up: go on until the queue is empty.
    for (;;) {
        bool changed = false;
        while (xcb_generic_event_t* ev = xcb_poll_for_event(conn_)) {
            if ((ev->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* pn = reinterpret_cast<const xcb_property_notify_event_t*>(ev);
                changed = changed || (pn->window == root_ && pn->atom == atomActive_);
            }
            std::free(ev);
        }
        if (xcb_connection_has_error(conn_)) {
            nv_log("X11Workspace: the X11 connection was lost, the frontmost application is no longer followed");
            notifier_->setEnabled(false);
            return;
        }
        if (!changed)
            return;
        activeWindowChanged();
    }
}

uint32_t X11Workspace::activeWindow() const
{
    auto r = reply(xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 0, root_, atomActive_, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) != 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
}

void X11Workspace::activeWindowChanged()
{
    const uint32_t window = activeWindow();
    if (window == window_)
        return;
    window_ = window;
    // A window whose program cannot be told, or none at all, activates no application:
    // the default profile.
    report(programPath(window_), windowClass(window_));
}

std::string X11Workspace::programPath(uint32_t window) const
{
    return window == XCB_WINDOW_NONE ? std::string() : nv_process_program(int32_t(windowPid(window)));
}

uint32_t X11Workspace::windowPid(uint32_t window) const
{
    auto r = reply(xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 0, window, atomPid_, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (r && r->format == 32 && xcb_get_property_value_length(r.get()) == 4)
        return *static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    if (!hasRes_)
        return 0;
    // No _NET_WM_PID: ask the server which local process owns the window's client.
    xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto ids = reply(xcb_res_query_client_ids_reply(conn_, xcb_res_query_client_ids(conn_, 1, &spec), nullptr));
    if (!ids)
        return 0;
    for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); it.rem; xcb_res_client_id_value_next(&it)) {
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) &&
            xcb_res_client_id_value_value_length(it.data) == 1)
            return *xcb_res_client_id_value_value(it.data);
    }
    return 0;
}

std::string X11Workspace::windowClass(uint32_t window) const
{
    if (window == XCB_WINDOW_NONE)
        return {};
    auto r = reply(xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    if (!r || r->format != 8)
        return {};
    // "instance\0class\0": the class names the program.
    const auto* v = static_cast<const char*>(xcb_get_property_value(r.get()));
    const size_t len = size_t(xcb_get_property_value_length(r.get()));
    const size_t instanceLen = strnlen(v, len);
    if (instanceLen + 1 < len)
        return std::string(v + instanceLen + 1, strnlen(v + instanceLen + 1, len - instanceLen - 1));
    return std::string(v, instanceLen);
}
