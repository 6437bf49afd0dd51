// The RandR adapter against a private Xvfb whose monitors are set with xrandr.
#include "platform/linux/RandrDisplayList.h"
#include "tests/linux/XvfbTestSupport.h"

#include "core/log/NVLog.h"

#include <gtest/gtest.h>
#include <xcb/randr.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using nvtest::on_path;
using nvtest::spin_until;

// Gives the server's one output an EDID property, as a driver does for a monitor.
bool set_output_edid(const std::string& display, const std::vector<uint8_t>& edid)
{
    xcb_connection_t* conn = xcb_connect(display.c_str(), nullptr);
    bool ok = false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    auto* res = xcb_randr_get_screen_resources_reply(conn, xcb_randr_get_screen_resources(conn, root), nullptr);
    auto* atom = xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, 4, "EDID"), nullptr);
    if (res && atom && xcb_randr_get_screen_resources_outputs_length(res) > 0) {
        const xcb_randr_output_t output = xcb_randr_get_screen_resources_outputs(res)[0];
        ok = !xcb_request_check(conn, xcb_randr_change_output_property_checked(
                                          conn, output, atom->atom, XCB_ATOM_INTEGER, 8, XCB_PROP_MODE_REPLACE,
                                          static_cast<uint32_t>(edid.size()), edid.data()));
    }
    free(atom);
    free(res);
    xcb_disconnect(conn);
    return ok;
}

} // namespace

TEST(RandrDisplayList, EachMonitorIsNamedByItsOutputWithItsEdid)
{
    if (!on_path("Xvfb") || !on_path("xrandr"))
        GTEST_SKIP() << "Xvfb or xrandr missing";
    nvtest::qt_app();
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    auto list = RandrDisplayList::open(x.display().c_str());
    ASSERT_TRUE(list);
    std::vector<NVDisplayIdentity> ids;
    ASSERT_TRUE(list->displayIdentities(ids));
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ids[0].name, "screen");
    EXPECT_TRUE(ids[0].edid.empty()) << "Xvfb's output has no monitor behind it";

    std::vector<uint8_t> edid(256);
    for (size_t i = 0; i < edid.size(); ++i)
        edid[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(set_output_edid(x.display(), edid));
    // A monitor on the output and one made by hand on none, in the server's order.
    ASSERT_TRUE(x.xrandr("--setmonitor A 1920/500x1080/300+0+0 screen"));
    ASSERT_TRUE(x.xrandr("--setmonitor B 1280/300x1024/250+1920+0 none"));
    ASSERT_TRUE(list->displayIdentities(ids));
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0].name, "screen");
    EXPECT_EQ(ids[0].edid, edid);
    EXPECT_TRUE(ids[1].name.empty());
    EXPECT_TRUE(ids[1].edid.empty());
}

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
