#include "platform/linux/XkbKeymap.h"

#include "core/log/NVLog.h"

#include <xcb/xcb.h>
// xcb's XKB header names a member "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

#include <cstdlib>

namespace {

// The parts of an XKB event that say which one it is and for which keyboard.
struct XkbEventHead {
    uint8_t response_type;
    uint8_t xkbType;
    uint16_t sequence;
    xcb_timestamp_t time;
    uint8_t deviceID;
};

constexpr uint16_t kGroupParts =
    XCB_XKB_STATE_PART_GROUP_BASE | XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;
// What a keymap's symbols are made of; a change to any of them can rename keys.
constexpr uint16_t kMapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                               XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                               XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                               XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;

// Group changes only: a modifier pressed or a lock switched wakes nobody.
bool select_events(xcb_connection_t* c, int32_t device)
{
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = kGroupParts;
    details.stateDetails = kGroupParts;
    const uint16_t events =
        XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    const xcb_void_cookie_t cookie = xcb_xkb_select_events_aux_checked(
        c, static_cast<xcb_xkb_device_spec_t>(device), events, 0, 0, kMapParts, kMapParts, &details);
    xcb_generic_error_t* error = xcb_request_check(c, cookie);
    std::free(error);
    return error == nullptr;
}

} // namespace

std::unique_ptr<XkbKeymap> XkbKeymap::connect(const char* display)
{
    xcb_connection_t* c = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    uint8_t firstEvent = 0;
    if (!xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &firstEvent, nullptr)) {
        nv_log("keyboard layout: the X server has no XKB extension");
        xcb_disconnect(c);
        return nullptr;
    }
    const int32_t device = xkb_x11_get_core_keyboard_device_id(c);
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (device < 0 || !context || !select_events(c, device)) {
        xkb_context_unref(context);
        xcb_disconnect(c);
        return nullptr;
    }
    xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    std::unique_ptr<XkbKeymap> k(new XkbKeymap(c, context, firstEvent, device));
    if (!k->load())
        return nullptr;
    return k;
}

XkbKeymap::~XkbKeymap()
{
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
    xcb_disconnect(c_);
}

bool XkbKeymap::load()
{
    xkb_keymap* keymap = xkb_x11_keymap_new_from_device(context_, c_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_state* state = keymap ? xkb_x11_state_new_from_device(keymap, c_, device_) : nullptr;
    if (!state) {
        xkb_keymap_unref(keymap);
        return false;
    }
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    state_ = state;
    return true;
}

uint32_t XkbKeymap::group() const
{
    return xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE);
}

int XkbKeymap::fd() const
{
    return xcb_get_file_descriptor(c_);
}

bool XkbKeymap::connected() const
{
    return xcb_connection_has_error(c_) == 0;
}

bool XkbKeymap::takeChanges()
{
    const uint32_t before = group();
    bool replaced = false;
    // Reading the new keymap takes round trips, during which more events may arrive: they
    // are read too, and a keymap announced among them read again.
    for (;;) {
        bool reload = false;
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
            const auto* head = reinterpret_cast<const XkbEventHead*>(e);
            if ((e->response_type & 0x7F) == firstEvent_ && head->deviceID == device_) {
                if (head->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || head->xkbType == XCB_XKB_MAP_NOTIFY) {
                    reload = true;
                } else if (head->xkbType == XCB_XKB_STATE_NOTIFY) {
                    const auto* s = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(e);
                    xkb_state_update_mask(state_, s->baseMods, s->latchedMods, s->lockedMods,
                                          static_cast<xkb_layout_index_t>(s->baseGroup),
                                          static_cast<xkb_layout_index_t>(s->latchedGroup), s->lockedGroup);
                }
            }
            std::free(e);
        }
        if (!reload || !connected())
            break;
        if (!load()) {
            nv_log("keyboard layout: the X server's new keymap cannot be read");
            break;
        }
        replaced = true;
    }
    return replaced || group() != before;
}
