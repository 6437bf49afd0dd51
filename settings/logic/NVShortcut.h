// A recorded key combination: one virtual key code and the modifier flags held with it.
// Saved as "<flags>-<key code>" in decimal.
#pragma once

#include "core/model/NVTypes.h"
#include "settings/logic/NVKeyMaskUtils.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class NVShortcut {
public:
    static NVShortcut shortcutWithKeyCode(uint16_t keyCode, uint32_t modifiers);
    static NVShortcut shortcutWithKeyCode(uint16_t keyCode, bool control, bool option, bool shift, bool command);
    // Nothing for text that is not two decimal numbers joined by '-'.
    static std::optional<NVShortcut> shortcutWithDescription(std::string_view saved);

    uint16_t keyCode = 0;
    uint32_t keyModifierFlags = 0; // within NV_MOD_MASK
    bool hasControlKey = false;
    bool hasOptionKey = false;
    bool hasShiftKey = false;
    bool hasCommandKey = false;
    std::string keyName;

    // Modifier glyphs followed by the key name.
    std::string description() const;
    std::string description4Save() const;
    // The key's display name in upper case.
    std::string getKeyName() const;
    // A modifier key alone (55, 56, 58-62).
    bool isControlerShortcut() const;
    bool isValidShortcut() const;
    // Taken by this application's menus or the desktop (see nv_add_shortcut_registry).
    bool hasRegistered() const;
    uint32_t carbonFlags() const { return NVKeyMaskUtils::NVCarbonModifiersFromCocoaModifiers(keyModifierFlags); }
    uint32_t registerFlags() const { return carbonFlags(); }
    // The lower-cased key name, what a menu item's key is compared with.
    std::string keyCodeStringForKeyEquivalent() const;

    // The text of a record's key combination: modifier glyphs, then " " and the name of
    // each key up to the first 0 (255 stands for key code 0).
    static std::string NSStringFromNVkbtns(const NVKbtn& kbtn);
};

// Whoever knows of taken shortcuts (the menus, the desktop) adds a check; hasRegistered
// asks every check. The token removes it again.
using NVShortcutRegistryCheck = std::function<bool(const NVShortcut&)>;
int nv_add_shortcut_registry(NVShortcutRegistryCheck check);
void nv_remove_shortcut_registry(int token);
