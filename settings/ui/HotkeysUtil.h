// The open-driver hotkey registered with the desktop. On X11 it is grabbed on the root
// window; a press posts "Hotkey_Changed_Notification". Where X cannot give global shortcuts
// (a Wayland session) it is bound through the desktop portal, whose answer comes later:
// Unavailable until the portal has bound it, and for good where the desktop offers no
// global shortcuts, in which case the hotkeys page says so.
#pragma once

#include "settings/logic/NVShortcut.h"

#include <optional>

class HotkeysUtil {
public:
    enum class Registration {
        None,        // not registered (never, or unregistered)
        Registered,
        Taken,       // another client holds the combination
        Failed,      // the key cannot be grabbed
        Unavailable, // the desktop offers no global shortcuts
    };

    // Whether this session can have global shortcuts at all.
    static bool globalShortcutsAvailable();

    static Registration registerOpenDriverHotkeys();
    static void unregisterOpenDriverHotkeys();
    static Registration registration();

    static NVShortcut readOpenDriverShortcut();
    static bool saveOpenDriverShortcut(const NVShortcut& shortcut);
    static NVShortcut Default4OpenDriver();
    static bool hasShortcutKey(const char* key);
    // Held by the menus or desktop shortcuts we know of, or grabbed by another X client.
    static bool isTaken(const NVShortcut& shortcut);
    // The open-driver shortcut is taken: by the menus or desktop shortcuts we know of, or
    // by another client's grab when it was registered.
    static bool hasExclusionShortcut();
};
