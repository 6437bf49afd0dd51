#include "settings/logic/NVOpenDriverHotkey.h"

namespace {

constexpr uint16_t kX11Shift = 1;
constexpr uint16_t kX11Control = 4;
constexpr uint16_t kX11Mod1 = 8;
constexpr uint16_t kX11Mod4 = 64;
constexpr uint16_t kKeyH = 4;

} // namespace

NVShortcut nv_default_open_driver_shortcut()
{
    return NVShortcut::shortcutWithKeyCode(kKeyH, true, false, false, true);
}

NVShortcut nv_read_open_driver_shortcut(NVUserDefaults& defaults)
{
    if (const auto saved = defaults.string(nvKeyOpenDriver))
        if (const auto shortcut = NVShortcut::shortcutWithDescription(*saved))
            return *shortcut;
    const NVShortcut fallback = nv_default_open_driver_shortcut();
    nv_save_open_driver_shortcut(defaults, fallback);
    return fallback;
}

bool nv_save_open_driver_shortcut(NVUserDefaults& defaults, const NVShortcut& shortcut)
{
    return defaults.set(nvKeyOpenDriver, shortcut.description4Save());
}

uint16_t nv_x11_modifiers(uint32_t registerFlags)
{
    uint16_t mask = 0;
    if (registerFlags & 0x1000)
        mask |= kX11Control;
    if (registerFlags & 0x800)
        mask |= kX11Mod1;
    if (registerFlags & 0x200)
        mask |= kX11Shift;
    if (registerFlags & 0x100)
        mask |= kX11Mod4;
    return mask;
}
