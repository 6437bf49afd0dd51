// The RandR adapter against a private Xvfb whose monitors are set with xrandr.
#include "platform/linux/RandrDisplayList.h"
#include "tests/linux/XvfbTestSupport.h"

#include "core/log/NVLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using nvtest::on_path;
using nvtest::spin_until;

} // namespace

TEST(RandrDisplayList, MonitorsInServerOrderAndOneRefreshPerChange)
{
    if (!on_path("Xvfb") || !on_path("xrandr"))
        GTEST_SKIP() << "Xvfb or xrandr missing";
    nvtest::qt_app();
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    auto list = RandrDisplayList::open(x.display().c_str());
    ASSERT_TRUE(list) << x.display();
    int refreshes = 0;
    list->setReconfigurationHandler([&] { ++refreshes; });

    // Taking the screen's output into A retires the server's automatic monitor. Monitor
    // definitions alone send no events; a mode change of the output below does.
    ASSERT_TRUE(x.xrandr("--setmonitor A 1920/500x1080/300+0+0 screen"));
    ASSERT_TRUE(x.xrandr("--setmonitor B 1280/300x1024/250+1920+0 none"));
    std::vector<NVDisplayInfo> d;
    ASSERT_TRUE(list->activeDisplays(d));
    ASSERT_EQ(d.size(), 2u);
    EXPECT_DOUBLE_EQ(d[0].bounds.width, 1920);
    EXPECT_DOUBLE_EQ(d[1].bounds.x, 1920);
    EXPECT_DOUBLE_EQ(d[1].bounds.height, 1024);
    EXPECT_NE(d[0].id, d[1].id);

    ASSERT_TRUE(x.xrandr("--setmonitor C 800/200x600/150+3200+0 none"));
    ASSERT_TRUE(list->activeDisplays(d));
    ASSERT_EQ(d.size(), 3u);
    EXPECT_DOUBLE_EQ(d[2].bounds.x, 3200);
    EXPECT_DOUBLE_EQ(d[2].bounds.width, 800);

    ASSERT_TRUE(x.xrandr("--newmode m3000 10 3000 3001 3002 3003 1200 1201 1202 1203"));
    ASSERT_TRUE(x.xrandr("--addmode screen m3000"));
    spin_until([] { return false; }, 300);
    refreshes = 0;
    ASSERT_TRUE(x.xrandr("--output screen --mode m3000"));
    ASSERT_TRUE(spin_until([&] { return refreshes > 0; }));
    spin_until([] { return false; }, 300);
    EXPECT_EQ(refreshes, 1);
    ASSERT_TRUE(x.xrandr("--delmonitor B"));
    ASSERT_TRUE(list->activeDisplays(d));
    ASSERT_EQ(d.size(), 2u);
    EXPECT_DOUBLE_EQ(d[1].bounds.x, 3200);
}

TEST(RandrDisplayList, NoServerGivesNoAdapter)
{
    EXPECT_FALSE(RandrDisplayList::open(":4987"));
}

// The hung-up socket stays readable; a notifier left on it would spin the agent.
TEST(RandrDisplayList, LostServerStopsBeingWatchedSaysSoOnceAndTheListIsRefused)
{
    if (!on_path("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    nvtest::qt_app();
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    auto list = RandrDisplayList::open(x.display().c_str());
    ASSERT_TRUE(list);
    int refreshes = 0;
    list->setReconfigurationHandler([&] { ++refreshes; });
    NVLogCapture log;

    x.stop();
    ASSERT_TRUE(spin_until([&] { return !list->isConnected(); }));
    EXPECT_LT(nvtest::cpu_seconds_of_event_loop(1000), 0.15);
    EXPECT_EQ(log.count("RandrDisplayList: the X11 connection was lost"), 1u);
    EXPECT_EQ(refreshes, 0);
    std::vector<NVDisplayInfo> d;
    EXPECT_FALSE(list->activeDisplays(d));
}
