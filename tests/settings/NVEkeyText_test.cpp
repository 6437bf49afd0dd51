// The text of a key function, for every kind and their combinations.
#include "settings/logic/NVEkeyText.h"
#include "settings/logic/NVKeyLayout.h"

#include "core/model/NVText.h"

#include <gtest/gtest.h>

namespace {

const NVEkeyNames kNames{"L", "M", "R", "F", "B", "Scr", "Brush", "Set"};

class EkeyText : public ::testing::Test {
protected:
    void SetUp() override { nv_set_current_key_layout(NVKeyLayout::fromNames("us")); }
    NVEkey ekey(uint64_t kinds)
    {
        NVEkey k{};
        k.funcBit = kinds;
        return k;
    }
};

TEST_F(EkeyText, KeyboardCombinationComesFirst)
{
    NVEkey k = ekey(0x04);
    k.kbtn.bCtrl = 1;
    k.kbtn.bShift = 1;
    k.kbtn.kbKeys[0] = 8;
    EXPECT_EQ(string_from_ekey(k, kNames), "\u2303\u21E7 C  ");
    k.kbtn.kbKeys[1] = 255;
    k.kbtn.bWin = 1;
    EXPECT_EQ(string_from_ekey(k, kNames), "\u2303\u21E7\u2318 C A  ");
    // Keys recorded but the kind not set: nothing of them shows.
    k.funcBit = 0;
    EXPECT_EQ(string_from_ekey(k, kNames), "  ");
}

TEST_F(EkeyText, MouseKindsInTheirOrderBetweenSpaces)
{
    EXPECT_EQ(string_from_ekey(ekey(0x10 | 0x80), kNames), " LF ");
    EXPECT_EQ(string_from_ekey(ekey(0x1F0), kNames), " LMRFB ");
    EXPECT_EQ(string_from_ekey(ekey(0x40), kNames), " R ");
}

TEST_F(EkeyText, ApplicationThenSwitches)
{
    NVEkey k = ekey(0x08 | 0x01 | 0x02);
    nv_copy_to_buffer(k.cmdPath, "/usr/share/applications/My%20Editor.desktop");
    EXPECT_EQ(string_from_ekey(k, kNames), "  /usr/share/applications/My Editor.desktopScrBrush");
    k.funcBit = 0x08;
    nv_copy_to_buffer(k.cmdPath, "/opt/%E7%94%BB/app");
    EXPECT_EQ(string_from_ekey(k, kNames), "  /opt/\u753B/app");
}

TEST_F(EkeyText, EveryKindTogetherAndKindsWithoutADialogStillShow)
{
    NVEkey k = ekey(0x3FF);
    k.kbtn.kbKeys[0] = 122;
    nv_copy_to_buffer(k.cmdPath, "/bin/x");
    EXPECT_EQ(string_from_ekey(k, kNames), " F1 LMRFB /bin/xScrBrushSet");
    EXPECT_EQ(string_from_ekey(ekey(0x400), kNames), "  #400");
    EXPECT_EQ(string_from_ekey(ekey(0x8000000000000002ull), kNames), "  Brush#8000000000000000");
}

} // namespace
