// A shortcut in the text form desktop portals take for a preferred trigger: the modifiers
// CTRL, ALT, SHIFT and LOGO, then the key's keysym name, joined by '+' ("CTRL+LOGO+h").
#pragma once

#include "settings/logic/NVShortcut.h"

#include <string>

// Empty for a key with no keysym name here; keys are named by their US layout position.
std::string nv_portal_trigger(const NVShortcut& shortcut);
