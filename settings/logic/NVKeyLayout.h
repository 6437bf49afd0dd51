// The keyboard layout that names the keys without a fixed name: libxkbcommon, from the
// layout's names (the desktop's, or the XKB_DEFAULT_* environment when none is set).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct xkb_context;
struct xkb_keymap;

class NVKeyLayout {
public:
    // Null when xkb cannot compile the layout (unknown name, no keyboard data installed).
    static std::unique_ptr<NVKeyLayout> fromNames(const std::string& layout, const std::string& variant = {});
    ~NVKeyLayout();
    NVKeyLayout(const NVKeyLayout&) = delete;
    NVKeyLayout& operator=(const NVKeyLayout&) = delete;

    // What the key types with no modifier held, in upper case; empty for a key that types
    // nothing (a modifier, a function key) or one the layout lacks.
    std::string keyText(uint16_t evdev) const;

private:
    NVKeyLayout(xkb_context* context, xkb_keymap* keymap) : context_(context), keymap_(keymap) {}
    xkb_context* context_;
    xkb_keymap* keymap_;
};

// The layout key names follow. Until one is set, the environment's default layout is
// compiled on first use.
const NVKeyLayout* nv_current_key_layout();
void nv_set_current_key_layout(std::unique_ptr<NVKeyLayout> layout);
