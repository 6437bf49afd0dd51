// Modifier flags of a shortcut: the four modifiers as flags within 0x1E0000, the
// registration flags of global hotkeys, and their glyphs.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t NV_MOD_SHIFT = 0x20000;
constexpr uint32_t NV_MOD_CONTROL = 0x40000;
constexpr uint32_t NV_MOD_OPTION = 0x80000;
constexpr uint32_t NV_MOD_COMMAND = 0x100000;
constexpr uint32_t NV_MOD_MASK = 0x1E0000;

extern const char* const NSStringControlKey; // U+2303
extern const char* const NSStringOptionKey;  // U+2325
extern const char* const NSStringShiftKey;   // U+21E7
extern const char* const NSStringCommandKey; // U+2318

struct NVModifierKeys {
    bool control = false;
    bool option = false;
    bool shift = false;
    bool command = false;
    bool operator==(const NVModifierKeys&) const = default;
};

class NVKeyMaskUtils {
public:
    static uint32_t NVPickCocoaModifiers(uint32_t flags) { return flags & NV_MOD_MASK; }
    // option 0x800, command 0x100, control 0x1000, shift 0x200
    static uint32_t NVCarbonModifiersFromCocoaModifiers(uint32_t flags);
    // The glyphs in the order control, option, shift, command.
    static std::string NSString4CocoaModifiers(uint32_t flags);
    static uint32_t CreateModifiersFlags(bool control, bool option, bool shift, bool command);
    static NVModifierKeys ModifiersFlags2Keys(uint32_t flags);
};
