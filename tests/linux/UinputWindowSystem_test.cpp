// Core events through NVMacFunc into the uinput encoding, read back per write().
#include "platform/linux/UinputWindowSystem.h"

#include <memory>

#include "core/events/NVMacFunc.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/linux/UinputDevices.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"
#include "tests/events/AllocCounter.h"
#include "tests/events/EventsTestSupport.h"
#include "tests/linux/UinputTestSupport.h"

namespace {

constexpr int32_t kMax = NV_UINPUT_ABS_MAX;

class UinputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_gi.ti.maxP = 2048;
        ws = std::make_unique<UinputWindowSystem>(
            NVUinputFds{pen.writeEnd(), pointer.writeEnd(), keyboard.writeEnd()}, displays, clock);
        g_gi.hidConnect = ws->connectKeyboard();
        NVMacFunc::resetState();
        NVMacFunc::setWindowSystem(ws.get());
    }
    void TearDown() override
    {
        NVMacFunc::setWindowSystem(nullptr);
        NVMacFunc::resetState();
        g_gi.hidConnect = 0;
    }

    static NVMacPenData at(double x, double y, uint32_t ps = 0, int8_t ax = 0, int8_t ay = 0)
    {
        return nvtest::pen_sample(x, y, ps, ax, ay);
    }
    void hover(const NVMacPenData& p) { NVMacFunc::sendMousePointerEvent(NVET_MOUSE_MOVED, 0, p, p, 0); }
    static int32_t value(const std::vector<Ev>& w, uint16_t type, uint16_t code)
    {
        for (const Ev& e : w)
            if (e.type == type && e.code == code)
                return e.value;
        ADD_FAILURE() << "no event " << type << "/" << code;
        return -1;
    }
    static bool has(const std::vector<Ev>& w, uint16_t type, uint16_t code)
    {
        for (const Ev& e : w)
            if (e.type == type && e.code == code)
                return true;
        return false;
    }

    Channel pen, pointer, keyboard;
    FakeDisplays displays{{{1, {0, 0, 1920, 1080}}, {2, {1920, 0, 1280, 1024}}}};
    ManualClock clock;
    std::unique_ptr<UinputWindowSystem> ws;
};

TEST_F(UinputTest, ProximityEntersAtZeroPressureAndLeavesWithTheTool)
{
    NVMacFunc::sendTabletPointerEvent(at(1600, 540, 0, -64, 32), 0);
    NVMacFunc::sendTabletProximityEvent(at(1600, 540), 0, true);
    NVMacFunc::sendTabletProximityEvent(at(1600, 540), 0, false);
    NVMacFunc::sendTabletProximityEvent(at(1600, 540), 0, false);

    const auto w = pen.writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_KEY, BTN_TOOL_PEN, 1}, {EV_ABS, ABS_X, 1 << 19}, {EV_ABS, ABS_Y, 1 << 19},
                                     {EV_ABS, ABS_TILT_X, -64}, {EV_ABS, ABS_TILT_Y, 32}, {EV_ABS, ABS_PRESSURE, 0},
                                     syn()}));
    EXPECT_EQ(w[1], (std::vector<Ev>{{EV_KEY, BTN_TOOL_PEN, 0}, syn()}));
    EXPECT_TRUE(pointer.writes().empty());
}

TEST_F(UinputTest, StrokeKeepsPressureAboveTheContactThreshold)
{
    hover(at(100, 100));
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DOWN, 0, at(101, 100, 1), at(100, 100), 1);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, at(102, 100, 2048), at(101, 100), 1);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, at(103, 100, 0), at(102, 100), 1);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_UP, 0, at(103, 100, 0), at(103, 100), 1);
    hover(at(104, 100));

    const auto w = pen.writes();
    ASSERT_EQ(w.size(), 6u);
    EXPECT_EQ(value(w[0], EV_KEY, BTN_TOOL_PEN), 1);
    EXPECT_EQ(value(w[1], EV_KEY, BTN_TOUCH), 1);
    const int32_t light = value(w[1], EV_ABS, ABS_PRESSURE);
    EXPECT_GT(light, 65535 * 5 / 100);
    EXPECT_LT(light, 65535 * 7 / 100);
    EXPECT_EQ(value(w[2], EV_ABS, ABS_PRESSURE), 65535);
    EXPECT_FALSE(has(w[2], EV_KEY, BTN_TOUCH));
    EXPECT_EQ(value(w[3], EV_ABS, ABS_PRESSURE), UinputWindowSystem::kPressureFloor);
    EXPECT_EQ(value(w[4], EV_KEY, BTN_TOUCH), 0);
    EXPECT_EQ(value(w[4], EV_ABS, ABS_PRESSURE), 0);
    EXPECT_EQ(value(w[5], EV_ABS, ABS_PRESSURE), 0);
    EXPECT_FALSE(has(w[5], EV_KEY, BTN_TOUCH));
}

TEST_F(UinputTest, CoreLeaveBeforeTipUpPostsNoSecondContact)
{
    hover(at(10, 10));
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DOWN, 0, at(10, 10, 500), at(10, 10), 1);
    NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, at(10, 10), at(10, 10), 1, false);
    NVMacFunc::sendTabletPointerEvent(at(10, 10), 1);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_UP, 0, at(10, 10), at(10, 10), 1);

    const auto w = pen.writes();
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[2], (std::vector<Ev>{{EV_ABS, ABS_PRESSURE, 0}, {EV_KEY, BTN_TOUCH, 0}, {EV_KEY, BTN_TOOL_PEN, 0},
                                     syn()}));
    EXPECT_EQ(value(w[3], EV_KEY, BTN_TOOL_PEN), 1);
    for (size_t i = 2; i < w.size(); ++i)
        for (const Ev& e : w[i])
            EXPECT_FALSE(e.code == BTN_TOUCH && e.value == 1) << "write " << i;
}

TEST_F(UinputTest, EraserSwitchIsALeaveFrameThenAnEnterFrameInOneWrite)
{
    hover(at(50, 60));
    pen.writes();
    NVMacFunc::brushSwitch(true);
    NVMacFunc::sendTabletProximityEvent(at(50, 60), 1, true);
    NVMacFunc::sendTabletProximityEvent(at(50, 60), 1, true);

    const auto w = pen.writes();
    ASSERT_EQ(w.size(), 1u);
    ASSERT_GE(w[0].size(), 4u);
    EXPECT_EQ(w[0][0], (Ev{EV_KEY, BTN_TOOL_PEN, 0}));
    EXPECT_EQ(w[0][1], syn());
    EXPECT_EQ(w[0][2], (Ev{EV_KEY, BTN_TOOL_RUBBER, 1}));
    EXPECT_EQ(value(w[0], EV_ABS, ABS_X), ws->absX(50));
    EXPECT_EQ(w[0].back(), syn());
}

TEST_F(UinputTest, TiltIsInDegreesWithinTheAxisRange)
{
    hover(at(1, 1, 0, 63, -64));
    NVWSEvent steep;
    steep.type = NVET_TABLET_POINTER;
    steep.setDouble(NVEF_TABLET_TILT_X, 2.0);
    steep.setDouble(NVEF_TABLET_TILT_Y, -0.5);
    ws->postEvent(steep);
    const auto w = pen.writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(value(w[0], EV_ABS, ABS_TILT_X), 63);
    EXPECT_EQ(value(w[0], EV_ABS, ABS_TILT_Y), -64);
    EXPECT_EQ(value(w[1], EV_ABS, ABS_TILT_X), NV_UINPUT_TILT_MAX);
    EXPECT_EQ(value(w[1], EV_ABS, ABS_TILT_Y), -32);
}

TEST_F(UinputTest, CoordinatesSpanTheBoxOfAllMonitors)
{
    EXPECT_EQ(ws->absX(0), 0);
    EXPECT_EQ(ws->absY(0), 0);
    EXPECT_EQ(ws->absX(3200), kMax);
    EXPECT_EQ(ws->absY(1080), kMax);
    EXPECT_EQ(ws->absX(1600), 1 << 19);
    EXPECT_EQ(ws->absY(540), 1 << 19);
    EXPECT_EQ(ws->absX(-5), 0);
    EXPECT_EQ(ws->absX(1e12), kMax);

    displays.setDisplays({{1, {-1280, 0, 1280, 1024}}, {2, {0, 0, 1920, 1080}}});
    EXPECT_EQ(ws->absX(0), 0);
    ws->refreshDisplays();
    EXPECT_EQ(ws->absX(-1280), 0);
    EXPECT_EQ(ws->absX(320), 1 << 19);

    NVLogCapture log;
    displays.setRefuse(true);
    ws->refreshDisplays();
    EXPECT_TRUE(log.contains("no displays"));
    EXPECT_EQ(ws->absX(320), 1 << 19);
}

TEST_F(UinputTest, PlainMouseEventsGoToThePointerDevice)
{
    NVMacFunc::sendMouseEvent(NVMB_RIGHT, {3200, 1080}, 1, NVET_RIGHT_MOUSE_DOWN);
    NVMacFunc::sendMouseEvent(NVMB_RIGHT, {3200, 1080}, 1, NVET_RIGHT_MOUSE_UP);
    NVMacFunc::sendMouseEvent(0, {0, 0}, 1, NVET_OTHER_MOUSE_DOWN);
    NVMacFunc::sendMouseEvent(0, {0, 0}, 1, NVET_LEFT_MOUSE_UP);
    NVMacFunc::sendMouseEvent(0, {0, 0}, 0, NVET_MOUSE_MOVED);

    const auto w = pointer.writes();
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_ABS, ABS_X, kMax}, {EV_ABS, ABS_Y, kMax}, {EV_KEY, BTN_RIGHT, 1}, syn()}));
    EXPECT_EQ(value(w[1], EV_KEY, BTN_RIGHT), 0);
    EXPECT_EQ(value(w[2], EV_KEY, BTN_MIDDLE), 1);
    EXPECT_EQ(value(w[3], EV_KEY, BTN_LEFT), 0);
    EXPECT_EQ(w[4].size(), 3u);
    EXPECT_TRUE(pen.writes().empty());
}

TEST_F(UinputTest, ScrollCarriesTheRemainderIntoDetents)
{
    NVMacFunc::sendScrollWheel(0, 20);
    NVMacFunc::sendScrollWheel(0, 20);
    NVMacFunc::sendScrollWheel(0, 30);
    NVMacFunc::sendScrollWheel(0, -30);
    NVMacFunc::sendScrollWheel(0, -30);
    NVMacFunc::sendScrollWheel(0, 0);

    const auto w = pointer.writes();
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_REL, REL_WHEEL_HI_RES, 80}, syn()}));
    EXPECT_EQ(w[1], (std::vector<Ev>{{EV_REL, REL_WHEEL_HI_RES, 80}, {EV_REL, REL_WHEEL, 1}, syn()}));
    EXPECT_EQ(w[2], (std::vector<Ev>{{EV_REL, REL_WHEEL_HI_RES, 120}, {EV_REL, REL_WHEEL, 1}, syn()}));
    EXPECT_EQ(w[3], (std::vector<Ev>{{EV_REL, REL_WHEEL_HI_RES, -120}, syn()}));
    EXPECT_EQ(w[4], (std::vector<Ev>{{EV_REL, REL_WHEEL_HI_RES, -120}, {EV_REL, REL_WHEEL, -1}, syn()}));
}

TEST_F(UinputTest, ModifierFlagsPressAndReleaseByDifference)
{
    NVKbtn k{};
    k.bCtrl = 1;
    k.bShift = 1;
    k.kbKeys[0] = 0x01;
    NVMacFunc::sendKeyDown(&k);
    auto w = keyboard.writes();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_KEY, KEY_LEFTCTRL, 1}, syn()}));
    EXPECT_EQ(w[1], (std::vector<Ev>{{EV_KEY, KEY_LEFTSHIFT, 1}, syn()}));
    EXPECT_EQ(w[2], (std::vector<Ev>{{EV_KEY, KEY_S, 1}, syn()}));

    NVMacFunc::sendKeyUp(&k);
    w = keyboard.writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_KEY, KEY_S, 0}, syn()}));
    EXPECT_EQ(w[1], (std::vector<Ev>{{EV_KEY, KEY_LEFTCTRL, 0}, {EV_KEY, KEY_LEFTSHIFT, 0}, syn()}));
}

TEST_F(UinputTest, KeyCodeZeroAndRepeat)
{
    NVMacFunc::sendKBKey(255, true, 0);
    NVMacFunc::sendKBKey(255, true, 0);
    NVMacFunc::sendKBKey(255, false, 0);
    const auto w = keyboard.writes();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0][0], (Ev{EV_KEY, KEY_A, 1}));
    EXPECT_EQ(w[1][0], (Ev{EV_KEY, KEY_A, 2}));
    EXPECT_EQ(w[2][0], (Ev{EV_KEY, KEY_A, 0}));
}

TEST_F(UinputTest, DisconnectReleasesHeldKeysAndRefusesLaterOnes)
{
    NVKbtn k{};
    k.bWin = 1;
    k.kbKeys[0] = 0x7E;
    NVMacFunc::sendKeyDown(&k);
    keyboard.writes();
    ws->disconnectKeyboard(g_gi.hidConnect);
    auto w = keyboard.writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_KEY, KEY_UP, 0}, {EV_KEY, KEY_LEFTMETA, 0}, syn()}));
    NVMacFunc::sendKBKey(4, true, 0);
    EXPECT_TRUE(keyboard.writes().empty());
}

TEST_F(UinputTest, SilentPenLeavesProximityAfterTheTimeout)
{
    EXPECT_LT(ws->proximityDeadline(), 0);
    clock.set(10.0);
    hover(at(5, 5));
    pen.writes();
    EXPECT_DOUBLE_EQ(ws->proximityDeadline(), 10.3);
    clock.set(10.29);
    ws->checkProximity();
    EXPECT_TRUE(pen.writes().empty());
    clock.set(10.3);
    ws->checkProximity();
    const auto w = pen.writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0], (std::vector<Ev>{{EV_KEY, BTN_TOOL_PEN, 0}, syn()}));
    EXPECT_LT(ws->proximityDeadline(), 0);
}

TEST_F(UinputTest, OneWritePerCoreEvent)
{
    int posted = 0;
    const auto post = [&](auto f) {
        f();
        ++posted;
    };
    NVMacPenData last = at(0, 0);
    post([&] { NVMacFunc::sendTabletProximityEvent(last, 0, true); });
    post([&] { NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, last, last, 0, true); });
    for (int i = 0; i < 5; ++i)
        post([&] { hover(at(i, i)); });
    post([&] { NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DOWN, 0, at(5, 5, 100), last, 1); });
    for (int i = 0; i < 20; ++i) {
        post([&] { NVMacFunc::sendTabletPointerEvent(at(5 + i, 5, 1000), 1); });
        post([&] { NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, at(5 + i, 5, 1000), last, 1); });
    }
    post([&] { NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_UP, 0, at(25, 5), last, 1); });
    EXPECT_EQ(pen.writes().size(), static_cast<size_t>(posted));
}

TEST_F(UinputTest, PenReportsEncodeWithoutAllocating)
{
    hover(at(0, 0));
    NVMacPenData last = at(0, 0);
    const size_t before = nvtest::allocation_count();
    for (int i = 0; i < 50; ++i) {
        const NVMacPenData p = at(i, i, 50u * static_cast<uint32_t>(i));
        NVMacFunc::sendTabletPointerEvent(p, 1);
        NVMacFunc::sendMousePointerEvent(i ? NVET_LEFT_MOUSE_DRAGGED : NVET_LEFT_MOUSE_DOWN, 0, p, last, 1);
        last = p;
    }
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_UP, 0, last, last, 1);
    EXPECT_EQ(nvtest::allocation_count(), before);
    EXPECT_EQ(pen.writes().size(), 102u);
}

} // namespace
