// The application's own notification centre and the names posted on it between the main
// view and its pages.
#pragma once

#include "core/channel/NotificationCenter.h"

inline constexpr const char* nvUiConfigChangeToMainView = "nuvro.tablet.ui.configChangeToMainView";
inline constexpr const char* nvUiConfigChangeToSubView = "nuvro.tablet.ui.configChangeToSubView";
inline constexpr const char* nvUiTabletStateChangedToSubView = "nuvro.tablet.ui.tabletStateChangedToSubView";
inline constexpr const char* nvUiDidImport = "NVDidImport";
inline constexpr const char* nvUiApplicationTerminate = "applicationTerminate";
inline constexpr const char* nvUiHotkeyChanged = "Hotkey_Changed_Notification";
// The keyboard layout that names keys changed (NVKeyLayoutSource).
inline constexpr const char* nvUiKeyLayoutChanged = "nuvro.tablet.ui.keyLayoutChanged";

// Delivers at once, on the main thread.
LocalNotificationCenter& nv_ui_center();
