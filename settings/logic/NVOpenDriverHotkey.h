// The open-driver hotkey: its saved form in the user defaults, its default, and the X11
// modifier mask it is registered with.
#pragma once

#include "settings/logic/NVShortcut.h"
#include "settings/logic/NVUserDefaults.h"

#include <cstdint>

// Control+command+H (key code 4).
NVShortcut nv_default_open_driver_shortcut();
// The saved shortcut; without one (or with one that does not read back) the default,
// which is then stored.
NVShortcut nv_read_open_driver_shortcut(NVUserDefaults& defaults);
// True when the suite was written.
bool nv_save_open_driver_shortcut(NVUserDefaults& defaults, const NVShortcut& shortcut);

// The X11 core modifier mask of registration flags: control → Control, option → Mod1
// (Alt), shift → Shift, command → Mod4 (Super).
uint16_t nv_x11_modifiers(uint32_t registerFlags);
