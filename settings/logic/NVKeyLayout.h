// The keyboard layout that names the keys without a fixed name: an xkb keymap read in one of
// its groups (layouts). It comes from the X server's keyboard, or is compiled from names
// (XKB_DEFAULT_* from the environment when none are given, else "us").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct xkb_keymap;

class NVKeyLayout {
public:
    // Null when xkb cannot compile the layout (unknown name, no keyboard data installed).
    static std::unique_ptr<NVKeyLayout> fromNames(const std::string& layout, const std::string& variant = {});
    // The keymap (a reference of its own is taken) read in group `group`, as a server
    // reports its keyboard; null for a null keymap.
    static std::unique_ptr<NVKeyLayout> fromKeymap(xkb_keymap* keymap, uint32_t group);
    ~NVKeyLayout();
    NVKeyLayout(const NVKeyLayout&) = delete;
    NVKeyLayout& operator=(const NVKeyLayout&) = delete;

    // What the key types in the group with no modifier held, in upper case; empty for a key
    // that types nothing (a modifier, a function key) or one the layout lacks.
    std::string keyText(uint16_t evdev) const;
    // The group's name ("English (US)"), for the log.
    std::string name() const;

private:
    NVKeyLayout(xkb_keymap* keymap, uint32_t group) : keymap_(keymap), group_(group) {}
    xkb_keymap* keymap_;
    uint32_t group_;
};

// The layout key names follow. Until one is set, the environment's default layout is
// compiled on first use.
const NVKeyLayout* nv_current_key_layout();
void nv_set_current_key_layout(std::unique_ptr<NVKeyLayout> layout);
