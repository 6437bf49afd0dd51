// One global hotkey on X11: the key grabbed on the root window on a connection of its
// own, once for every combination of Caps Lock and Num Lock, so that it works whichever
// lock is on.
#pragma once

#include <cstdint>
#include <memory>

struct xcb_connection_t;

class XcbHotkey {
public:
    enum class Grab {
        Grabbed,
        Taken,  // another client holds one of the combinations
        Failed, // no such key, or the server refused otherwise
    };

    // Null when there is no X server to connect to (display null: $DISPLAY).
    static std::unique_ptr<XcbHotkey> connect(const char* display = nullptr);
    ~XcbHotkey();
    XcbHotkey(const XcbHotkey&) = delete;
    XcbHotkey& operator=(const XcbHotkey&) = delete;

    // X key code and core modifier mask (Shift 1, Control 4, Mod1 8, Mod4 64). Releases
    // the key grabbed before; on Taken or Failed nothing stays grabbed.
    Grab grab(uint8_t keycode, uint16_t modifiers);
    void ungrab();
    // Whether the combination could be grabbed now, leaving the current grab as it is.
    Grab probe(uint8_t keycode, uint16_t modifiers);
    bool grabbed() const { return keycode_ != 0; }

    // Readable when events wait, or when the server went away.
    int fd() const;
    // False once the server went away: nothing more will arrive.
    bool connected() const;
    // Reads the waiting events; true when the grabbed combination was pressed among them.
    bool takePresses();

private:
    // Grabs every lock combination; on an error releases what went through.
    Grab grabAll(uint8_t keycode, uint16_t modifiers);
    void ungrabAll(uint8_t keycode, uint16_t modifiers);
    XcbHotkey(xcb_connection_t* c, uint32_t root) : c_(c), root_(root) {}
    xcb_connection_t* c_;
    uint32_t root_;
    uint8_t keycode_ = 0;
    uint16_t modifiers_ = 0;
};
