// The X server's keyboard as xkb sees it: its keymap and the group (layout) in force, on a
// connection of its own that hears of a new keymap (setxkbmap, a desktop's layout switcher)
// and of a group switch, and of nothing else.
#pragma once

#include <cstdint>
#include <memory>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

class XkbKeymap {
public:
    // Null when there is no X server (display null: $DISPLAY) or it lacks the XKB extension.
    static std::unique_ptr<XkbKeymap> connect(const char* display = nullptr);
    ~XkbKeymap();
    XkbKeymap(const XkbKeymap&) = delete;
    XkbKeymap& operator=(const XkbKeymap&) = delete;

    // The core keyboard's keymap, valid until the next takeChanges().
    xkb_keymap* keymap() const { return keymap_; }
    // The effective group: base, latched and locked together.
    uint32_t group() const;

    // Readable when events wait, or when the server went away.
    int fd() const;
    // False once the server went away: nothing more will arrive.
    bool connected() const;
    // Reads the waiting events; true when the keymap was replaced or another group is in force.
    bool takeChanges();

private:
    XkbKeymap(xcb_connection_t* c, xkb_context* context, uint8_t firstEvent, int32_t device)
        : c_(c), context_(context), firstEvent_(firstEvent), device_(device)
    {
    }
    // Reads the keymap and state from the server; false when it no longer answers.
    bool load();

    xcb_connection_t* c_;
    xkb_context* context_;
    uint8_t firstEvent_;
    int32_t device_;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
};
