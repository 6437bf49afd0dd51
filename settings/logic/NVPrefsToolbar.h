// The preferences window's toolbar: its items per brand and the page each one opens.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

inline constexpr const char* nvPrefsToolbarId = "settingsWindowToolbar";
inline constexpr const char* nvItemGeneral = "General Setting";
inline constexpr const char* nvItemHotkeys = "Hotkeys Setting";
inline constexpr const char* nvItemMonitor = "Monitor Setting";

inline constexpr const char* nvPageGeneral = "vcGeneralSetting";
inline constexpr const char* nvPageHotkeys = "vcHotkeysSetting";
inline constexpr const char* nvPageMonitor = "vcMonitorSettings";

enum NVPrefsTag { NVPREFS_GENERAL = 1, NVPREFS_HOTKEYS = 2, NVPREFS_MONITOR = 3 };

struct NVPrefsItem {
    const char* identifier;
    int tag;
    const char* image;    // under res/
    const char* labelKey; // localisation key; tool tip and palette label too
};

// In toolbar order: general, hotkeys (the primary brand only, whose hotkey it is), monitor.
// The general item shows the update picture while an update is waiting.
std::vector<NVPrefsItem> nv_prefs_items(bool nuvroBrand, bool updateNeeded);

// The page a click on the item with that tag opens; none for an unknown tag, and for the
// hotkeys tag on another brand.
const char* nv_prefs_page_for_tag(int tag, bool nuvroBrand);
// The item a caller's index selects: 1 hotkeys, 2 monitor; 0 and anything else keep the
// page shown. Another brand has no hotkeys item.
const char* nv_prefs_item_for_index(int index, bool nuvroBrand);
// The tag of an item of the toolbar; none for an identifier it does not hold.
std::optional<int> nv_prefs_tag(std::string_view identifier, bool nuvroBrand);
