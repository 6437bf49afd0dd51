// The test's own X client acting as the window manager: windows of chosen programs and the
// root window's active window, which the workspace adapter follows.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace nvtest {

class Desktop {
public:
    explicit Desktop(const char* display = nullptr) : conn_(xcb_connect(display, nullptr))
    {
        if (xcb_connection_has_error(conn_))
            return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        active_ = intern("_NET_ACTIVE_WINDOW");
        pid_ = intern("_NET_WM_PID");
    }
    ~Desktop() { xcb_disconnect(conn_); }
    bool ok() const { return !xcb_connection_has_error(conn_); }

    // A window of class wmClass ("instance\0class\0"), with _NET_WM_PID when pid is not 0.
    uint32_t window(const std::string& wmClass, uint32_t pid)
    {
        const uint32_t w = xcb_generate_id(conn_);
        xcb_create_window(conn_, XCB_COPY_FROM_PARENT, w, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(wmClass.size()), wmClass.data());
        if (pid)
            xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, w, pid_, XCB_ATOM_CARDINAL, 32, 1, &pid);
        xcb_flush(conn_);
        return w;
    }
    void activate(uint32_t w)
    {
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, root_, active_, XCB_ATOM_WINDOW, 32, 1, &w);
        // A round trip: the server has it before another client asks.
        std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
    }

private:
    uint32_t intern(const char* name)
    {
        auto* r = xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const uint32_t a = r ? r->atom : 0;
        std::free(r);
        return a;
    }

    xcb_connection_t* conn_;
    uint32_t root_ = 0;
    uint32_t active_ = 0;
    uint32_t pid_ = 0;
};

} // namespace nvtest
