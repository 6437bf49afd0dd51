#include "core/model/NVEkeyFunc.h"

#include <gtest/gtest.h>

TEST(EkeyFuncEncoding, SetOrsEventIntoEverySlotOfTheKinds)
{
    uint64_t e = 0;
    set_NVEkeyFuncType_event(0x11, &e, NVEKEVT_DOWN);
    EXPECT_EQ(e, 0x202u);

    // ORs, never clears: DOWN into a slot holding UP gives CLICK.
    e = 0;
    set_NVEkeyFuncType_event(NVEKT_MOUSE_LEFT, &e, NVEKEVT_UP);
    set_NVEkeyFuncType_event(NVEKT_MOUSE_LEFT, &e, NVEKEVT_DOWN);
    EXPECT_EQ(get_NVEkeyFuncType_event(NVEKT_MOUSE_LEFT, e), NVEKEVT_CLICK);

    e = 0x1234;
    set_NVEkeyFuncType_event(0, &e, NVEKEVT_CLICK);
    EXPECT_EQ(e, 0x1234u) << "funcBit 0 does nothing";

    e = 0;
    set_NVEkeyFuncType_event(0x80000000u, &e, NVEKEVT_UP);
    EXPECT_EQ(e, 1ull << 62) << "bit 31 uses the top slot";
}

TEST(EkeyFuncEncoding, SetAllFillsOrClearsTheWord)
{
    uint64_t e = 0xFFFF;
    set_NVEkeyFuncType_all_event(&e, NVEKEVT_UP);
    EXPECT_EQ(e, 0x5555555555555555ull);
    set_NVEkeyFuncType_all_event(&e, NVEKEVT_CLICK);
    EXPECT_EQ(e, ~0ull);
    set_NVEkeyFuncType_all_event(&e, NVEKEVT_NONE);
    EXPECT_EQ(e, 0u);
}

TEST(EkeyFuncEncoding, GetReadsTheSlotOfTheHighestBit)
{
    const uint64_t e = 0x0000000000000300ull | (1ull << 6); // bit 4 slot = 3, bit 3 slot = 1
    EXPECT_EQ(get_NVEkeyFuncType_event(0x10, e), 3u);
    EXPECT_EQ(get_NVEkeyFuncType_event(0x08, e), 1u);
    EXPECT_EQ(get_NVEkeyFuncType_event(0x18, e), 3u) << "highest set bit wins";
    EXPECT_EQ(get_NVEkeyFuncType_event(0, ~0ull), 0u);
    EXPECT_EQ(get_NVEkeyFuncType_event(NVEKT_SWITCH_MUXFUNC, 2ull << 18), NVEKEVT_DOWN);
}

TEST(EkeyFuncEncoding, KindBitsHaveTheirFixedValues)
{
    EXPECT_EQ(NVEKT_SWITCH_SCREEN, 0x01u);
    EXPECT_EQ(NVEKT_SWITCH_BRUSH, 0x02u);
    EXPECT_EQ(NVEKT_KBTN, 0x04u);
    EXPECT_EQ(NVEKT_EXEC, 0x08u);
    EXPECT_EQ(NVEKT_MOUSE_LEFT, 0x10u);
    EXPECT_EQ(NVEKT_MOUSE_MID, 0x20u);
    EXPECT_EQ(NVEKT_MOUSE_RIGHT, 0x40u);
    EXPECT_EQ(NVEKT_MOUSE_FORWARD, 0x80u);
    EXPECT_EQ(NVEKT_MOUSE_BACKWARD, 0x100u);
    EXPECT_EQ(NVEKT_SWITCH_MUXFUNC, 0x200u);
}
