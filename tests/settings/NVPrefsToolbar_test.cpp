// The preferences toolbar per brand and the pages its items and the callers' indexes open.
#include "settings/logic/NVPrefsToolbar.h"

#include <gtest/gtest.h>

#include <string>

TEST(NVPrefsToolbar, ItemsPerBrandAndTheUpdatePicture)
{
    const auto nuvro = nv_prefs_items(true, false);
    ASSERT_EQ(nuvro.size(), 3u);
    EXPECT_STREQ(nuvro[0].identifier, nvItemGeneral);
    EXPECT_EQ(nuvro[0].tag, 1);
    EXPECT_STREQ(nuvro[0].image, "settings.png");
    EXPECT_STREQ(nuvro[0].labelKey, "settingsCommon");
    EXPECT_STREQ(nuvro[1].identifier, nvItemHotkeys);
    EXPECT_EQ(nuvro[1].tag, 2);
    EXPECT_STREQ(nuvro[1].image, "hotkeys.png");
    EXPECT_STREQ(nuvro[1].labelKey, "settingsHotkey");
    EXPECT_STREQ(nuvro[2].identifier, nvItemMonitor);
    EXPECT_EQ(nuvro[2].tag, 3);
    EXPECT_STREQ(nuvro[2].image, "monitor.png");
    EXPECT_STREQ(nv_prefs_items(true, true)[0].image, "settingsWithUpdate_new.png");

    const auto other = nv_prefs_items(false, false);
    ASSERT_EQ(other.size(), 2u) << "another brand has no hotkeys item";
    EXPECT_STREQ(other[1].identifier, nvItemMonitor);
    EXPECT_FALSE(nv_prefs_tag(nvItemHotkeys, false));
    EXPECT_EQ(nv_prefs_tag(nvItemHotkeys, true), 2);
    EXPECT_FALSE(nv_prefs_tag("Unknown", true));
}

TEST(NVPrefsToolbar, PagesOfTagsAndIndexes)
{
    EXPECT_STREQ(nv_prefs_page_for_tag(1, true), nvPageGeneral);
    EXPECT_STREQ(nv_prefs_page_for_tag(2, true), nvPageHotkeys);
    EXPECT_EQ(nv_prefs_page_for_tag(2, false), nullptr);
    EXPECT_STREQ(nv_prefs_page_for_tag(3, false), nvPageMonitor);
    EXPECT_EQ(nv_prefs_page_for_tag(0, true), nullptr);
    EXPECT_EQ(nv_prefs_page_for_tag(4, true), nullptr);

    EXPECT_EQ(nv_prefs_item_for_index(0, true), nullptr) << "0 keeps the page shown";
    EXPECT_STREQ(nv_prefs_item_for_index(1, true), nvItemHotkeys);
    EXPECT_EQ(nv_prefs_item_for_index(1, false), nullptr);
    EXPECT_STREQ(nv_prefs_item_for_index(2, false), nvItemMonitor);
    EXPECT_EQ(nv_prefs_item_for_index(-1, true), nullptr);
}
