// The multi-function pop-up: its items for a device type of each group, the record each
// item edits, and contexts without function sets.
#include "settings/logic/NVMEkeyMenu.h"

#include "core/model/NVText.h"
#include "tests/settings/ModelLayout.h"

#include <gtest/gtest.h>

namespace {

const NVEkeyNames kNames{"L", "M", "R", "F", "B", "Scr", "Brush", "Set"};

NVMEkeyMenuInput input(const ModelLayout& m, int current = 0, int set = 0)
{
    return {m.ti.devType, &m.cfg->contexts[0], &m.layout, current, set};
}

TEST(MEkeyMenu, SeparatedSetsTargetTheFunctionEachItemShows)
{
    // Type 21: one ring of 3 positions with 4 sets.
    ModelLayout m("NUVRO_P4D9");
    NVContextEkeys& c = m.cfg->contexts[0];
    c.mekeys[0].muxfunc[2].ekeys[1].funcBit = 0x40;
    nv_copy_to_buffer(c.mekeys[0].muxfunc[2].ekeys[1].name, "Right%20click");
    const auto items = nv_mekey_menu(input(m), kNames);
    ASSERT_EQ(items.size(), 4u * (3 + 1));
    EXPECT_TRUE(items[3].separator);
    const NVMEkeyMenuItem& item = items[2 * 4 + 1];
    EXPECT_FALSE(item.separator);
    EXPECT_EQ(item.first, " R ");
    EXPECT_EQ(item.second, "Right click");
    // The item after two separators is set 2, position 1, not item index 9 / 3 = set 3.
    EXPECT_EQ(nv_mekey_record(c, item.target), &c.mekeys[0].muxfunc[2].ekeys[1]);
    EXPECT_EQ(nv_mekey_record(c, items[3].target), nullptr);
}

TEST(MEkeyMenu, UnseparatedTypesListEverySetWithoutSeparators)
{
    ModelLayout m("NUVRO_T489"); // type 37: 8 positions, 4 sets
    const auto items = nv_mekey_menu(input(m), kNames);
    ASSERT_EQ(items.size(), 32u);
    for (const auto& i : items)
        EXPECT_FALSE(i.separator);
    // Item 20 is set 2, position 4: beyond the 16 functions of one set if taken as an index.
    EXPECT_EQ(nv_mekey_record(m.cfg->contexts[0], items[20].target), &m.cfg->contexts[0].mekeys[0].muxfunc[2].ekeys[4]);
}

TEST(MEkeyMenu, NamedKeysOfTheTouchStripOpenNoDialog)
{
    ModelLayout m("NUVRO_PE23"); // type 7: 13 named positions, entries 8 and 9 left out
    const auto items = nv_mekey_menu(input(m), kNames);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[0].first, m.layout.mekeyNames[0].names[0]);
    EXPECT_EQ(items[8].first, m.layout.mekeyNames[0].names[10]);
    for (const auto& i : items)
        EXPECT_EQ(i.target.mekey, -1);
}

TEST(MEkeyMenu, OtherTypesListTheAskedSetByName)
{
    ModelLayout m("NUVRO_TA53"); // type 11: 2 positions, 4 sets
    const auto items = nv_mekey_menu(input(m), kNames);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].first, "Key 1");
    EXPECT_EQ(items[0].target.set, 0);
    EXPECT_EQ(items[1].target.func, 1);
    // A set past the name lists gives names nothing, not a read past them.
    const auto second = nv_mekey_menu(input(m, 0, 3), kNames);
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(second[0].first, "");
    EXPECT_TRUE(nv_mekey_menu(input(m, 0, 7), kNames).empty());
}

TEST(MEkeyMenu, NothingForAnUnknownDeviceOrAContextWithoutSets)
{
    ModelLayout unknown("NO_SUCH_MODEL");
    EXPECT_TRUE(nv_mekey_menu(input(unknown), kNames).empty());
    ModelLayout plain("NUVRO_T62E"); // no multi-function key
    EXPECT_TRUE(nv_mekey_menu(input(plain), kNames).empty());
    NVContextEkeys c{};
    EXPECT_EQ(nv_mekey_record(c, {0, 0, 0}), nullptr);
    c.mekeyNum = 1;
    EXPECT_EQ(nv_mekey_record(c, {0, 4, 0}), nullptr);
    EXPECT_EQ(nv_mekey_record(c, {0, 3, 15}), &c.mekeys[0].muxfunc[3].ekeys[15]);
}

TEST(MEkeyMenu, InitialSet)
{
    EXPECT_EQ(nv_mekey_initial_set(37, 9, 8, 0), 0);
    EXPECT_EQ(nv_mekey_initial_set(11, 9, 8, 0), 1);
    EXPECT_EQ(nv_mekey_initial_set(11, 0, 8, 0), 0);
}

} // namespace
