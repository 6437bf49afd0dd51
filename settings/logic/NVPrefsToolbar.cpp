#include "settings/logic/NVPrefsToolbar.h"

std::vector<NVPrefsItem> nv_prefs_items(bool nuvroBrand, bool updateNeeded)
{
    std::vector<NVPrefsItem> items;
    items.push_back({nvItemGeneral, NVPREFS_GENERAL, updateNeeded ? "settingsWithUpdate_new.png" : "settings.png",
                     "settingsCommon"});
    if (nuvroBrand)
        items.push_back({nvItemHotkeys, NVPREFS_HOTKEYS, "hotkeys.png", "settingsHotkey"});
    items.push_back({nvItemMonitor, NVPREFS_MONITOR, "monitor.png", "settingsMonitor"});
    return items;
}

const char* nv_prefs_page_for_tag(int tag, bool nuvroBrand)
{
    switch (tag) {
    case NVPREFS_GENERAL:
        return nvPageGeneral;
    case NVPREFS_HOTKEYS:
        return nuvroBrand ? nvPageHotkeys : nullptr;
    case NVPREFS_MONITOR:
        return nvPageMonitor;
    default:
        return nullptr;
    }
}

const char* nv_prefs_item_for_index(int index, bool nuvroBrand)
{
    if (index == 1)
        return nuvroBrand ? nvItemHotkeys : nullptr;
    if (index == 2)
        return nvItemMonitor;
    return nullptr;
}

std::optional<int> nv_prefs_tag(std::string_view identifier, bool nuvroBrand)
{
    for (const NVPrefsItem& item : nv_prefs_items(nuvroBrand, false))
        if (identifier == item.identifier)
            return item.tag;
    return std::nullopt;
}
