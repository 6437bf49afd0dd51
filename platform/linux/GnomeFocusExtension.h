// The bus contract of the suite's GNOME Shell extension (packaging/gnome-shell/): its uuid,
// the name it owns while enabled, and its object, which answers Current() -> (u pid,
// s class) and signals Changed(u pid, s class) for the focused window (pid 0: none).
#pragma once

inline constexpr const char* nvGnomeExtensionUuid = "nuvro-focus@nuvro.example.com";
inline constexpr const char* nvGnomeFocusService = "nuvroapp.FocusedWindow";
inline constexpr const char* nvGnomeFocusPath = "/nuvroapp/FocusedWindow";
inline constexpr const char* nvGnomeFocusInterface = "nuvroapp.FocusedWindow";
