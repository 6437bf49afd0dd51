#include "platform/linux/XcbHotkey.h"

#include "core/log/NVLog.h"

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>

namespace {

// Caps Lock is Lock; Num Lock sits on Mod2 on every common layout.
constexpr std::array<uint16_t, 4> kLocks = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint8_t kBadAccess = 10;

} // namespace

std::unique_ptr<XcbHotkey> XcbHotkey::connect(const char* display)
{
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display, &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::unique_ptr<XcbHotkey>(new XcbHotkey(c, it.data->root));
}

XcbHotkey::~XcbHotkey()
{
    ungrab();
    xcb_disconnect(c_);
}

XcbHotkey::Grab XcbHotkey::grabAll(uint8_t keycode, uint16_t modifiers)
{
    std::array<xcb_void_cookie_t, kLocks.size()> cookies{};
    for (size_t i = 0; i < kLocks.size(); ++i)
        cookies[i] = xcb_grab_key_checked(c_, 1, root_, modifiers | kLocks[i], keycode, XCB_GRAB_MODE_ASYNC,
                                          XCB_GRAB_MODE_ASYNC);
    Grab result = Grab::Grabbed;
    for (xcb_void_cookie_t cookie : cookies)
        if (xcb_generic_error_t* e = xcb_request_check(c_, cookie)) {
            const Grab g = e->error_code == kBadAccess ? Grab::Taken : Grab::Failed;
            if (result == Grab::Grabbed || g == Grab::Taken)
                result = g;
            std::free(e);
        }
    // Whatever part went through would still swallow the key.
    if (result != Grab::Grabbed)
        ungrabAll(keycode, modifiers);
    return result;
}

void XcbHotkey::ungrabAll(uint8_t keycode, uint16_t modifiers)
{
    for (uint16_t lock : kLocks)
        xcb_ungrab_key(c_, keycode, root_, modifiers | lock);
    xcb_flush(c_);
}

XcbHotkey::Grab XcbHotkey::grab(uint8_t keycode, uint16_t modifiers)
{
    ungrab();
    const Grab result = grabAll(keycode, modifiers);
    if (result == Grab::Grabbed) {
        keycode_ = keycode;
        modifiers_ = modifiers;
    } else {
        nv_log("hotkey: key %u with modifiers 0x%x %s", keycode, modifiers,
               result == Grab::Taken ? "is taken by another client" : "cannot be grabbed");
    }
    return result;
}

XcbHotkey::Grab XcbHotkey::probe(uint8_t keycode, uint16_t modifiers)
{
    if (keycode_ == keycode && modifiers_ == modifiers)
        return Grab::Grabbed;
    const Grab result = grabAll(keycode, modifiers);
    if (result == Grab::Grabbed)
        ungrabAll(keycode, modifiers);
    return result;
}

void XcbHotkey::ungrab()
{
    if (!keycode_)
        return;
    ungrabAll(keycode_, modifiers_);
    keycode_ = 0;
}

int XcbHotkey::fd() const
{
    return xcb_get_file_descriptor(c_);
}

bool XcbHotkey::connected() const
{
    return xcb_connection_has_error(c_) == 0;
}

bool XcbHotkey::takePresses()
{
    bool pressed = false;
    while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
        if ((e->response_type & 0x7F) == XCB_KEY_PRESS) {
            const auto* k = reinterpret_cast<xcb_key_press_event_t*>(e);
            if (keycode_ && k->detail == keycode_ && (k->state & 0xFF & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2)) == modifiers_)
                pressed = true;
        }
        std::free(e);
    }
    return pressed;
}
