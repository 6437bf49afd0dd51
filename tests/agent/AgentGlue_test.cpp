// The agent's main-loop glue: the silent pen's proximity timer and the shared display slot.
#include "agent/DisplayTap.h"
#include "agent/ProximityTimer.h"

#include "core/events/NVMacFunc.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/linux/UinputWindowSystem.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"
#include "tests/linux/UinputTestSupport.h"
#include "tests/qt/QtTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ProximityTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::qt_app();
        g_gi.ti.maxP = 2048;
        NVMacFunc::resetState();
        NVMacFunc::setWindowSystem(&timer);
    }
    void TearDown() override { NVMacFunc::setWindowSystem(nullptr); }

    void hover(double x, double y)
    {
        NVMacPenData p{};
        p.pos = {x, y};
        NVMacFunc::sendMousePointerEvent(NVET_MOUSE_MOVED, 0, p, p, 0);
    }
    bool leftProximity()
    {
        for (const auto& w : pen.writes())
            for (const Ev& e : w)
                if (e.type == EV_KEY && e.code == BTN_TOOL_PEN && e.value == 0)
                    return true;
        return false;
    }

    Channel pen, pointer, keyboard;
    FakeDisplays displays{{{1, {0, 0, 1920, 1080}}}};
    ManualClock clock;
    UinputWindowSystem ws{{pen.writeEnd(), pointer.writeEnd(), keyboard.writeEnd()}, displays, clock};
    ProximityTimer timer{ws, clock};
};

} // namespace

TEST_F(ProximityTimerTest, ASilentPenLeavesOnceItsDeadlinePasses)
{
    clock.set(10.0);
    EXPECT_FALSE(timer.armed());
    hover(5, 5);
    EXPECT_TRUE(timer.armed());
    pen.writes();
    clock.set(10.3);
    ASSERT_TRUE(nvtest::spin_until([&] { return leftProximity(); }));
    EXPECT_LT(ws.proximityDeadline(), 0);
    EXPECT_FALSE(timer.armed());
}

TEST_F(ProximityTimerTest, APenStillTalkingStaysAndTheTimerWaitsOnForIt)
{
    clock.set(10.0);
    hover(5, 5);
    clock.set(10.2);
    hover(6, 6); // deadline now 10.5
    pen.writes();
    // The first firing finds the deadline ahead and arms again.
    nvtest::spin_until([] { return false; }, 450);
    EXPECT_FALSE(leftProximity());
    EXPECT_TRUE(timer.armed());
    clock.set(10.5);
    EXPECT_TRUE(nvtest::spin_until([&] { return leftProximity(); }));
}

TEST(DisplayTap, FollowersHearEveryChangeAndTheCoreHandlerAfterThem)
{
    FakeDisplays inner{{{1, {0, 0, 800, 600}}}};
    DisplayTap tap(inner);
    std::string heard;
    tap.addFollower([&] { heard += "f1 "; });
    tap.addFollower([&] { heard += "f2 "; });
    inner.setDisplays({{1, {0, 0, 1024, 768}}});
    EXPECT_EQ(heard, "f1 f2 ") << "no core handler set";

    heard.clear();
    tap.setReconfigurationHandler([&] { heard += "core"; });
    inner.setDisplays({{2, {0, 0, 1920, 1080}}});
    EXPECT_EQ(heard, "f1 f2 core");
    std::vector<NVDisplayInfo> d;
    ASSERT_TRUE(tap.activeDisplays(d));
    EXPECT_EQ(d.at(0).id, 2u);

    heard.clear();
    tap.setReconfigurationHandler({});
    inner.setDisplays({});
    EXPECT_EQ(heard, "f1 f2 ");
}
