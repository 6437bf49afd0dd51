// Pen, mouse and scroll events against their field tables.
#include "tests/events/EventsTestSupport.h"

namespace {

const std::vector<uint32_t> kProximityOrder = {28, 29, 30, 31, 32, 33, 37, 34, 35, 36, 38};
const std::vector<uint32_t> kPointerOrder = {15, 16, 20, 21, 24, 17, 22, 23, 18, 19, 25, 26};
const std::vector<uint32_t> kMouseOrder = {1, 2, 3, 4, 5, 0};

std::vector<uint32_t> concat(std::vector<uint32_t> a, const std::vector<uint32_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(MacFuncTest, TabletProximityCarriesTheFixedIdentityAndPointerType)
{
    NVMacFunc::sendTabletProximityEvent(pen(10, 20), 1, true);
    NVMacFunc::brushSwitch(true);
    NVMacFunc::sendTabletProximityEvent(pen(10, 20), 1, false);
    NVMacFunc::brushSwitch(false);
    NVMacFunc::sendTabletProximityEvent(pen(10, 20), 1, true);
    ASSERT_EQ(count(), 3u);

    const NVWSEvent& e = ws(0);
    EXPECT_EQ(e.type, 24);
    EXPECT_FALSE(e.hasFlags);
    EXPECT_EQ(e.subtype, NVMST_NONE);
    EXPECT_EQ(fieldNumbers(e), kProximityOrder);
    const std::vector<std::pair<uint32_t, double>> expected = {
        {28, 14974}, {29, 110}, {30, 0}, {31, 1095}, {32, 0}, {33, 2082},
        {37, 1}, {34, 1}, {35, 257}, {36, 1479}, {38, 1}};
    for (const auto& [n, v] : expected)
        EXPECT_EQ(value(e, n), v) << "field " << n;

    EXPECT_EQ(value(ws(1), 37), 3);
    EXPECT_EQ(value(ws(1), 38), 0);
    EXPECT_EQ(value(ws(2), 37), 1);
}

TEST_F(MacFuncTest, TabletPointerFieldsScalePressureAndTilt)
{
    NVMacFunc::sendTabletPointerEvent(pen(100.9, -200.7, 0, -64, 32), 1);
    NVMacFunc::sendTabletPointerEvent(pen(5, 6, 2048, 63, 0), 1);
    NVMacFunc::sendTabletPointerEvent(pen(5, 6, 512), 1);
    ASSERT_EQ(count(), 3u);

    const NVWSEvent& a = ws(0);
    EXPECT_EQ(a.type, 23);
    EXPECT_EQ(fieldNumbers(a), kPointerOrder);
    EXPECT_EQ(a.field(15)->i, 100);
    EXPECT_EQ(a.field(16)->i, -200);
    EXPECT_TRUE(a.field(20)->isDouble);
    EXPECT_DOUBLE_EQ(a.field(20)->d, -1.0);
    EXPECT_DOUBLE_EQ(a.field(21)->d, 0.5);
    EXPECT_EQ(value(a, 24), 1095);
    EXPECT_EQ(value(a, 17), 0);
    EXPECT_TRUE(a.field(22)->isDouble);
    EXPECT_TRUE(a.field(23)->isDouble);
    EXPECT_EQ(value(a, 18), 0);
    EXPECT_DOUBLE_EQ(value(a, 19), 0.0);
    EXPECT_EQ(value(a, 25), 32767);
    EXPECT_EQ(value(a, 26), 20000);

    EXPECT_EQ(value(ws(1), 18), 1);
    EXPECT_DOUBLE_EQ(ws(1).field(19)->d, 1.0);
    EXPECT_DOUBLE_EQ(ws(1).field(20)->d, 63.0 / 64.0);
    EXPECT_DOUBLE_EQ(ws(2).field(19)->d, 0.25);
}

TEST_F(MacFuncTest, PressureIsZeroBeforeATabletIsKnown)
{
    g_gi.ti.maxP = 0;
    NVMacFunc::sendTabletPointerEvent(pen(1, 1, 700), 0);
    EXPECT_DOUBLE_EQ(ws(0).field(19)->d, 0.0);
    EXPECT_EQ(value(ws(0), 18), 1);
}

TEST_F(MacFuncTest, HeldModifiersGoOnPointerEventsOnlyWhileSet)
{
    NVMacFunc::sendTabletPointerEvent(pen(1, 1), 0);
    NVMacFunc::sendMousePointerEvent(NVET_MOUSE_MOVED, 0, pen(1, 1), pen(1, 1), 0);
    gModifierKeyEventFlag = NVMF_SHIFT | NVMF_COMMAND;
    NVMacFunc::sendTabletPointerEvent(pen(1, 1), 0);
    NVMacFunc::sendMousePointerEvent(NVET_MOUSE_MOVED, 0, pen(1, 1), pen(1, 1), 0);
    NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, pen(1, 1), pen(1, 1), 0, true);
    NVMacFunc::sendMouseEvent(0, {1, 1}, 1, NVET_LEFT_MOUSE_DOWN);

    EXPECT_FALSE(ws(0).hasFlags);
    EXPECT_FALSE(ws(1).hasFlags);
    EXPECT_TRUE(ws(2).hasFlags);
    EXPECT_EQ(ws(2).flags, 0x120000u);
    EXPECT_EQ(ws(3).flags, 0x120000u);
    EXPECT_FALSE(ws(4).hasFlags);
    EXPECT_FALSE(ws(5).hasFlags);
}

TEST_F(MacFuncTest, MouseProximityEventsCountEventNumbersAndFollowTheMiddleButton)
{
    NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, pen(13.7, 7.5, 1024), pen(10, 10), 2, true);
    NVMacFunc::sendMouseEvent(0, {1, 1}, 1, NVET_OTHER_MOUSE_DOWN);
    NVMacFunc::sendMouseProximityEvent(NVET_LEFT_MOUSE_DRAGGED, pen(1, 1), pen(1, 1), 2, false);
    NVMacFunc::sendMouseEvent(2, {1, 1}, 1, NVET_OTHER_MOUSE_UP);
    NVMacFunc::sendMouseProximityEvent(NVET_LEFT_MOUSE_DRAGGED, pen(1, 1), pen(1, 1), 2, true);
    ASSERT_EQ(count(), 5u);

    const NVWSEvent& e = ws(0);
    EXPECT_EQ(e.type, NVET_MOUSE_MOVED);
    EXPECT_TRUE(e.hasLocation);
    EXPECT_DOUBLE_EQ(e.x, 13.7);
    EXPECT_EQ(e.button, 0);
    EXPECT_EQ(e.subtype, NVMST_TABLET_PROXIMITY);
    EXPECT_EQ(fieldNumbers(e), concat(kProximityOrder, kMouseOrder));
    EXPECT_EQ(value(e, 1), 2);
    EXPECT_DOUBLE_EQ(value(e, 2), 0.5);
    EXPECT_EQ(value(e, 3), 0);
    EXPECT_EQ(value(e, 4), 3);
    EXPECT_EQ(value(e, 5), -2);
    EXPECT_EQ(value(e, 0), 0);

    EXPECT_EQ(ws(1).field(0)->i, 1);
    EXPECT_EQ(ws(2).type, NVET_OTHER_MOUSE_DRAGGED);
    EXPECT_EQ(value(ws(2), 0), 1);
    EXPECT_EQ(ws(4).type, NVET_LEFT_MOUSE_DRAGGED);
    EXPECT_EQ(value(ws(4), 0), 2);
    EXPECT_EQ(glEventNumber, 3);
}

TEST_F(MacFuncTest, MousePointerEventsCarryPointerThenMouseFields)
{
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DOWN, 0, pen(50.5, 60.5, 2048), pen(40, 70), 3);
    const NVWSEvent& e = ws(0);
    EXPECT_EQ(e.type, NVET_LEFT_MOUSE_DOWN);
    EXPECT_EQ(e.subtype, NVMST_TABLET_POINT);
    EXPECT_EQ(fieldNumbers(e), concat(kPointerOrder, kMouseOrder));
    EXPECT_EQ(value(e, 1), 3);
    EXPECT_EQ(value(e, 4), 10);
    EXPECT_EQ(value(e, 5), -9);
    EXPECT_EQ(glEventNumber, 0);
}

TEST_F(MacFuncTest, RightButtonHeldTurnsPenDragsIntoRightDrags)
{
    NVMacFunc::sendMouseEvent(1, {5, 5}, 1, NVET_RIGHT_MOUSE_DOWN);
    EXPECT_TRUE(gbRightMouseDown);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, pen(6, 6), pen(5, 5), 1);
    NVMacFunc::sendMouseEvent(1, {6, 6}, 1, NVET_RIGHT_MOUSE_UP);
    EXPECT_FALSE(gbRightMouseDown);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, pen(7, 7), pen(6, 6), 1);

    ASSERT_EQ(count(), 4u);
    EXPECT_EQ(ws(0).type, NVET_RIGHT_MOUSE_DOWN);
    EXPECT_EQ(ws(0).button, 1);
    EXPECT_EQ(ws(1).type, NVET_RIGHT_MOUSE_DRAGGED);
    EXPECT_EQ(ws(2).type, NVET_RIGHT_MOUSE_UP);
    EXPECT_EQ(ws(3).type, NVET_LEFT_MOUSE_DRAGGED);
}

TEST_F(MacFuncTest, PlainMouseEventsForceTheMiddleButtonAndWriteClickThenNumber)
{
    glEventNumber = 41;
    NVMacFunc::sendMouseEvent(0, {3.5, 4.5}, 2, NVET_OTHER_MOUSE_DOWN);
    EXPECT_TRUE(gbOtherMouseDown);
    NVMacFunc::sendMouseEvent(2, {3.5, 4.5}, 2, NVET_OTHER_MOUSE_UP);
    EXPECT_FALSE(gbOtherMouseDown);
    NVMacFunc::sendMouseEvent(0, {3.5, 4.5}, 1, NVET_MOUSE_MOVED);

    EXPECT_EQ(ws(0).type, NVET_OTHER_MOUSE_DOWN);
    EXPECT_EQ(ws(0).button, NVMB_OTHER);
    EXPECT_EQ(ws(0).subtype, NVMST_NONE);
    EXPECT_EQ(fieldNumbers(ws(0)), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(value(ws(0), 1), 2);
    EXPECT_EQ(value(ws(0), 0), 41);
    EXPECT_EQ(ws(2).type, NVET_MOUSE_MOVED);
    EXPECT_DOUBLE_EQ(ws(2).y, 4.5);
    EXPECT_EQ(glEventNumber, 41);
}

TEST_F(MacFuncTest, ScrollTruncatesAndAlwaysCarriesFlags)
{
    NVMacFunc::sendScrollWheel(7.0f, 30.0);
    NVMacFunc::sendScrollWheel(0.0f, -29.9);
    gModifierKeyEventFlag = NVMF_CONTROL;
    NVMacFunc::sendScrollWheel(0.0f, 1e30);

    EXPECT_EQ(ws(0).type, NVET_SCROLL_WHEEL);
    EXPECT_EQ(ws(0).wheel1, 30);
    EXPECT_TRUE(ws(0).hasFlags);
    EXPECT_EQ(ws(0).flags, 0u);
    EXPECT_EQ(ws(0).fieldCount, 0);
    EXPECT_EQ(ws(1).wheel1, -29);
    EXPECT_EQ(ws(2).flags, NVMF_CONTROL);
    EXPECT_EQ(ws(2).wheel1, INT32_MAX);
}

TEST_F(MacFuncTest, DetachedWindowSystemDropsEvents)
{
    NVMacFunc::setWindowSystem(nullptr);
    NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, pen(1, 1), pen(1, 1), 0, true);
    NVMacFunc::HIDPostVirtualKey(4, false, 0);
    EXPECT_EQ(count(), 0u);
    EXPECT_EQ(glEventNumber, 1);
}

} // namespace
