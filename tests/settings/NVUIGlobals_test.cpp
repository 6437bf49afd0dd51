#include "settings/logic/NVUIGlobals.h"

#include "core/model/NVLayoutAlloc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

TEST(KeyNameTable, HoldsEveryKeyOnceWithTheLetterAOnCode255)
{
    KBTable table[NV_KBTABLE_ROWS]{};
    nv_fill_kbTable(table);

    std::set<int> codes;
    std::set<std::string> names;
    for (const KBTable& row : table) {
        EXPECT_NE(row.code, 0) << row.name; // 0 marks an empty key slot
        ASSERT_NE(std::memchr(row.name, '\0', sizeof row.name), nullptr);
        EXPECT_GT(std::strlen(row.name), 0u);
        codes.insert(row.code);
        names.insert(row.name);
    }
    EXPECT_EQ(codes.size(), 68u);
    EXPECT_EQ(names.size(), 68u);

    EXPECT_EQ(table[0].code, 255);
    EXPECT_STREQ(table[0].name, "A");
    EXPECT_EQ(table[25].code, 6);
    EXPECT_STREQ(table[25].name, "Z");
    EXPECT_EQ(table[26].code, 29);
    EXPECT_STREQ(table[26].name, "0");
    EXPECT_EQ(table[36].code, 122);
    EXPECT_STREQ(table[36].name, "F1");
    EXPECT_EQ(table[47].code, 111);
    EXPECT_STREQ(table[47].name, "F12");
    EXPECT_EQ(table[48].code, 51);
    EXPECT_STREQ(table[48].name, "delete");
}

TEST(KeyNameTable, ArrowsAndPunctuationCarryTheirExactBytes)
{
    KBTable table[NV_KBTABLE_ROWS]{};
    nv_fill_kbTable(table);
    EXPECT_EQ(table[53].code, 123);
    EXPECT_STREQ(table[53].name, "\xE2\x86\x90"); // left arrow
    EXPECT_EQ(table[55].code, 126);
    EXPECT_STREQ(table[55].name, "\xE2\x86\x91"); // up arrow
    EXPECT_EQ(table[63].code, 50);
    EXPECT_STREQ(table[63].name, "`~");
    EXPECT_EQ(table[66].code, 42);
    EXPECT_STREQ(table[66].name, "\\|");
    EXPECT_EQ(table[67].code, 39);
    EXPECT_STREQ(table[67].name, "'\"");
}

TEST(UIGlobals, StartFillsTheTableAndEndFreesWhatTheRecordOwns)
{
    g_USER_DEBUG = 1;
    nv_ui_globals_init();
    EXPECT_EQ(g_USER_DEBUG, 0);
    EXPECT_EQ(g_ui.kbTable[0].code, 255);
    EXPECT_STREQ(g_ui.kbTable[67].name, "'\"");

    g_ui.cfg.pressFactor = 3;
    g_ui.cfg.contexts[0].mekeyNum = 1;
    g_ui.cfg.contexts[0].mekeys[0].muxFuncNum = 2;
    realloc_NVTabletLayout(4, &g_ui.cfg, &g_ui.tabletLayout);
    realloc_NVPenLayout(2, &g_ui.penLayout);
    ASSERT_NE(g_ui.tabletLayout.ekLayouts, nullptr);
    ASSERT_NE(g_ui.penLayout.ekLayouts, nullptr);

    nv_ui_globals_free();
    EXPECT_EQ(g_ui.tabletLayout.ekLayouts, nullptr);
    EXPECT_EQ(g_ui.tabletLayout.mekeyNames, nullptr);
    EXPECT_EQ(g_ui.penLayout.ekLayouts, nullptr);
    EXPECT_EQ(g_ui.cfg.pressFactor, 0);
    nv_ui_globals_free(); // a second end finds nothing left to free
}

} // namespace
