// Keyboard layouts on a test's X server: set with setxkbmap, and a group locked from a
// client of the test's own, as a desktop's layout switcher does.
#pragma once

// xcb's XKB header names a member "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>
#include <string>

namespace nvtest {

inline bool setxkbmap(const std::string& display, const std::string& args)
{
    return std::system(("DISPLAY=" + display + " setxkbmap " + args + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool lock_xkb_group(const std::string& display, uint8_t group)
{
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    bool ok = !xcb_connection_has_error(c);
    if (ok) {
        xcb_xkb_use_extension_reply_t* use = xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, 1, 0), nullptr);
        ok = use && use->supported;
        std::free(use);
    }
    if (ok) {
        const xcb_void_cookie_t cookie =
            xcb_xkb_latch_lock_state_checked(c, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1, group, 0, 0, 0);
        xcb_generic_error_t* error = xcb_request_check(c, cookie);
        ok = error == nullptr;
        std::free(error);
    }
    xcb_disconnect(c);
    return ok;
}

} // namespace nvtest
