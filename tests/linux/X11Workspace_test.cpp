#include "platform/linux/X11Workspace.h"
#include "tests/linux/XDesktop.h"
#include "tests/linux/XvfbTestSupport.h"

#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/NVNotificationNames.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using nvtest::spin_until;

using nvtest::Desktop;

std::string exe_of(qint64 pid)
{
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe").string();
}

// One test case: the root window's active window is shared by everything on the display.
TEST(X11Workspace, FollowsTheActiveWindowsProgramAndOwnerName)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no DISPLAY (the test suite runs under Xvfb)";
    nvtest::qt_app();
    Desktop desktop;
    if (!desktop.ok())
        GTEST_SKIP() << "cannot open display " << display;
    QProcess other;
    other.start("sleep", {"30"});
    ASSERT_TRUE(other.waitForStarted(5000));
    const std::string otherPath = exe_of(other.processId());
    const std::string selfPath = exe_of(getpid());

    X11Workspace ws;
    ASSERT_TRUE(ws.isConnected());
    std::vector<std::string> reports;
    ws.setActivationHandler([&](const std::string& path) { reports.push_back(path); });
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; })) << "the window active at the start";
    reports.clear();

    const uint32_t sleeper = desktop.window(std::string("sleep\0Sleeper\0", 14), uint32_t(other.processId()));
    desktop.activate(sleeper);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; }));
    EXPECT_EQ(reports[0], otherPath);
    EXPECT_EQ(ws.frontmostOwnerName(), "Sleeper");

    // A repeated activation is no news.
    desktop.activate(sleeper);
    // Without _NET_WM_PID the server names the owning process.
    const uint32_t mine = desktop.window(std::string("nuvro\0NuvroTest\0", 16), 0);
    desktop.activate(mine);
    ASSERT_TRUE(spin_until([&] { return reports.size() >= 2; }));
    spin_until([] { return false; }, 100);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], selfPath);
    EXPECT_EQ(ws.frontmostOwnerName(), "NuvroTest");

    // Another window of the same program: a new owner name, no new activation.
    const uint32_t mine2 = desktop.window(std::string("only-instance", 13), uint32_t(getpid()));
    desktop.activate(mine2);
    EXPECT_TRUE(spin_until([&] { return ws.frontmostOwnerName() == "only-instance"; }));

    desktop.activate(sleeper);
    ASSERT_TRUE(spin_until([&] { return reports.size() >= 3; }));
    EXPECT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[2], otherPath);
    EXPECT_EQ(ws.frontmostOwnerName(), "Sleeper");

    other.kill();
    other.waitForFinished(2000);
}

// Whatever the window system cannot tell selects the default context instead of keeping
// the previous application's: the activations reach a driver peer as in the agent.
TEST(X11Workspace, UnknownProgramOrNoActiveWindowSelectsTheDefaultContext)
{
    if (!nvtest::on_path("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    nvtest::qt_app();
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    Desktop desktop(x.display().c_str());
    ASSERT_TRUE(desktop.ok());
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    const std::string selfPath = exe_of(getpid());
    std::strcpy(g_gi.cfg.contexts[2].appPath, selfPath.c_str());
    X11Workspace ws(x.display().c_str());
    ASSERT_TRUE(ws.isConnected());
    LocalNotificationCenter center, workspaceCenter;
    nv_forward_activations(ws, workspaceCenter);
    NVNotificationDriverPeer peer(nullptr, center, &workspaceCenter);
    std::vector<std::string> reports;
    workspaceCenter.observe(nvWorkspaceDidActivateApplication,
                            [&](const std::string&, const NVPlistDict& info) {
                                reports.push_back(nv_plist_string(info, nvKeyApplicationPath));
                            });
    const uint32_t mine = desktop.window(std::string("nuvro\0NuvroTest\0", 16), uint32_t(getpid()));
    auto select = [&](uint32_t window, const std::string& expected) {
        const size_t before = reports.size();
        desktop.activate(mine);
        spin_until([&] { return reports.size() > before && reports.back() == selfPath; });
        ASSERT_EQ(currentAppIndex_kernel, 2);
        desktop.activate(window);
        ASSERT_TRUE(spin_until([&] { return reports.back() != selfPath; })) << "window " << window;
        EXPECT_EQ(reports.back(), expected);
        EXPECT_EQ(currentAppIndex_kernel, 0) << "window " << window;
    };

    // A process that has ended leaves /proc/PID/exe unreadable.
    QProcess gone;
    gone.start("sleep", {"30"});
    ASSERT_TRUE(gone.waitForStarted(5000));
    const auto gonePid = uint32_t(gone.processId());
    gone.kill();
    ASSERT_TRUE(gone.waitForFinished(5000));
    select(desktop.window(std::string("gone\0Gone\0", 10), gonePid), "");
    EXPECT_EQ(ws.frontmostOwnerName(), "Gone");
    // A window of no client: no _NET_WM_PID, and the server names no process for it.
    select(0x1f000001, "");
    EXPECT_EQ(ws.frontmostOwnerName(), "");
    select(XCB_WINDOW_NONE, "");
}

// The program frontmost when the agent starts gets its profile at once, not only after the
// next change of program. The driver peer follows only once the adapter exists, as in the agent.
TEST(X11Workspace, TheWindowActiveAtTheStartSelectsItsProgram)
{
    if (!nvtest::on_path("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    nvtest::qt_app();
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    Desktop desktop(x.display().c_str());
    ASSERT_TRUE(desktop.ok());
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    const std::string selfPath = exe_of(getpid());
    std::strcpy(g_gi.cfg.contexts[2].appPath, selfPath.c_str());
    currentAppIndex_kernel = 0;
    desktop.activate(desktop.window(std::string("nuvro\0NuvroTest\0", 16), uint32_t(getpid())));

    X11Workspace ws(x.display().c_str());
    ASSERT_TRUE(ws.isConnected());
    EXPECT_EQ(ws.frontmostOwnerName(), "NuvroTest");
    LocalNotificationCenter center, workspaceCenter;
    nv_forward_activations(ws, workspaceCenter);
    NVNotificationDriverPeer peer(nullptr, center, &workspaceCenter);
    std::vector<std::string> reports;
    workspaceCenter.observe(nvWorkspaceDidActivateApplication,
                            [&](const std::string&, const NVPlistDict& info) {
                                reports.push_back(nv_plist_string(info, nvKeyApplicationPath));
                            });
    EXPECT_TRUE(spin_until([&] { return currentAppIndex_kernel == 2; }));
    spin_until([] { return false; }, 100);
    EXPECT_EQ(reports, std::vector<std::string>{selfPath}) << "reported once";
}

// The hung-up socket stays readable; a notifier left on it would spin the agent.
TEST(X11Workspace, LostServerStopsBeingWatchedAndSaysSoOnce)
{
    if (!nvtest::on_path("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    nvtest::qt_app();
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    X11Workspace ws(x.display().c_str());
    ASSERT_TRUE(ws.isConnected());
    int reports = 0;
    ws.setActivationHandler([&](const std::string&) { ++reports; });
    ASSERT_TRUE(spin_until([&] { return reports == 1; })) << "the window active at the start";
    NVLogCapture log;

    x.stop();
    ASSERT_TRUE(spin_until([&] { return log.contains("X11Workspace: the X11 connection was lost"); }));
    EXPECT_LT(nvtest::cpu_seconds_of_event_loop(1000), 0.15);
    EXPECT_EQ(log.count("X11Workspace: the X11 connection was lost"), 1u);
    EXPECT_EQ(reports, 1);
}

TEST(X11Workspace, WithoutADisplayReportsNothingAndSaysSoOnce)
{
    nvtest::qt_app();
    NVLogCapture log;
    X11Workspace ws(":4711");
    EXPECT_FALSE(ws.isConnected());
    EXPECT_EQ(ws.frontmostOwnerName(), "");
    EXPECT_EQ(log.count("X11Workspace: no X11 display"), 1u);
}

} // namespace
