#include "platform/linux/SwayWorkspace.h"
#include "tests/linux/SwayTestSupport.h"
#include "tests/linux/XvfbTestSupport.h"

#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/NVNotificationNames.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/linux/SwayIpc.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstring>
#include <filesystem>

namespace {

using nvtest::spin_until;

TEST(SwayIpcFraming, SplitsWholeMessagesAndRefusesABrokenStream)
{
    std::string stream = nv_sway_encode(NV_SWAY_EVENT_WINDOW, R"({"change":"focus"})") + nv_sway_encode(2, "{}");
    const std::string tail = stream.substr(stream.size() - 5);
    stream.resize(stream.size() - 5);
    std::vector<NVSwayMessage> out;
    ASSERT_TRUE(nv_sway_take_messages(stream, out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].type, uint32_t(NV_SWAY_EVENT_WINDOW));
    EXPECT_EQ(out[0].payload, R"({"change":"focus"})");
    stream += tail;
    ASSERT_TRUE(nv_sway_take_messages(stream, out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].payload, "{}");
    EXPECT_TRUE(stream.empty());

    // A partial header is kept; anything else at the start of a message is no stream of Sway's.
    stream = "i3-i";
    EXPECT_TRUE(nv_sway_take_messages(stream, out));
    stream = "HTTP/1.1 400";
    EXPECT_FALSE(nv_sway_take_messages(stream, out));
}

class SwayWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!nvtest::HeadlessSway::installed())
            GTEST_SKIP() << "sway is not installed";
        nvtest::qt_app();
        sway = std::make_unique<nvtest::HeadlessSway>();
        ASSERT_TRUE(sway->ok()) << "headless sway did not start";
        // Two programs: copies of one client under two names.
        ASSERT_TRUE(programs.isValid());
        for (const char* name : {"nuvro-paint", "nuvro-sketch"}) {
            const QString copy = programs.filePath(name);
            ASSERT_TRUE(QFile::copy(NV_WAYLAND_WINDOW, copy));
            QFile::setPermissions(copy, QFile::permissions(NV_WAYLAND_WINDOW) | QFileDevice::ExeOther |
                                            QFileDevice::ReadOther);
        }
        QFile::setPermissions(programs.path(), QFile::permissions(programs.path()) | QFileDevice::ExeOther);
    }

    // Starts a program's window; Sway focuses a new window.
    QProcess* start(const char* name)
    {
        clients.push_back(sway->client(programs.filePath(name), {name}));
        return clients.back().get();
    }
    std::string program(const char* name) const
    {
        return std::filesystem::canonical(programs.filePath(name).toStdString()).string();
    }

    std::unique_ptr<nvtest::HeadlessSway> sway;
    QTemporaryDir programs;
    std::vector<std::unique_ptr<QProcess>> clients;
};

TEST_F(SwayWorkspaceTest, FocusingEachWindowReportsItsProgramAndOwnerName)
{
    auto ws = SwayWorkspace::open(sway->socket());
    ASSERT_TRUE(ws);
    std::vector<std::string> reports;
    ws->setActivationHandler([&](const std::string& path) { reports.push_back(path); });
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; })) << "the start's report";
    EXPECT_EQ(reports[0], "") << "no window yet";

    QProcess* paint = start("nuvro-paint");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }, 10000));
    EXPECT_EQ(reports[1], program("nuvro-paint"));
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-paint");
    QProcess* sketch = start("nuvro-sketch");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }, 10000));
    EXPECT_EQ(reports[2], program("nuvro-sketch"));

    ASSERT_TRUE(sway->command(QString("[pid=%1] focus").arg(paint->processId())));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 4; }));
    EXPECT_EQ(reports[3], program("nuvro-paint"));
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-paint");
    ASSERT_TRUE(sway->command(QString("[pid=%1] focus").arg(sketch->processId())));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 5; }));
    EXPECT_EQ(reports[4], program("nuvro-sketch"));

    // An empty workspace has no frontmost application; coming back brings the window's.
    ASSERT_TRUE(sway->command("workspace 2"));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 6; }));
    EXPECT_EQ(reports[5], "");
    EXPECT_EQ(ws->frontmostOwnerName(), "");
    ASSERT_TRUE(sway->command("workspace 1"));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 7; }));
    EXPECT_EQ(reports[6], program("nuvro-sketch"));

    // Closing the focused window hands the focus on: one report, the next window's program.
    sketch->kill();
    ASSERT_TRUE(spin_until([&] { return reports.size() >= 8 && reports.back() == program("nuvro-paint"); }));
    spin_until([] { return false; }, 200);
    EXPECT_EQ(reports.back(), program("nuvro-paint"));
}

TEST_F(SwayWorkspaceTest, AnXWaylandWindowIsFollowedByItsProcessAndClass)
{
    if (!nvtest::on_path("Xwayland"))
        GTEST_SKIP() << "Xwayland is not installed";
    auto ws = SwayWorkspace::open(sway->socket());
    ASSERT_TRUE(ws);
    std::vector<std::string> reports;
    ws->setActivationHandler([&](const std::string& path) { reports.push_back(path); });
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; }));

    // Started by Sway, as its own user, on its XWayland display.
    ASSERT_TRUE(sway->command("exec env QT_QPA_PLATFORM=xcb " + programs.filePath("nuvro-paint")));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }, 20000));
    EXPECT_EQ(reports[1], program("nuvro-paint"));
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-paint") << "the X11 class";
}

// The program frontmost when the agent starts gets its profile at once, through the driver
// peer as in the agent, and once.
TEST_F(SwayWorkspaceTest, TheWindowFocusedAtTheStartSelectsItsProgramOnce)
{
    QProcess* paint = start("nuvro-paint");
    ASSERT_TRUE(spin_until([&] { return sway->command(QString("[pid=%1] focus").arg(paint->processId())); }, 10000));
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    std::strcpy(g_gi.cfg.contexts[2].appPath, program("nuvro-paint").c_str());
    currentAppIndex_kernel = 0;

    auto ws = SwayWorkspace::open(sway->socket());
    ASSERT_TRUE(ws);
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-paint");
    LocalNotificationCenter center, workspaceCenter;
    nv_forward_activations(*ws, workspaceCenter);
    NVNotificationDriverPeer peer(nullptr, center, &workspaceCenter);
    int reports = 0;
    workspaceCenter.observe(nvWorkspaceDidActivateApplication, [&](const std::string&, const NVPlistDict&) { ++reports; });
    EXPECT_TRUE(spin_until([&] { return currentAppIndex_kernel == 2; }));
    spin_until([] { return false; }, 100);
    EXPECT_EQ(reports, 1);
}

// The hung-up socket stays readable; a notifier left on it would spin the agent.
TEST_F(SwayWorkspaceTest, ACompositorThatDisappearsIsSaidOnceAndNotWatched)
{
    auto ws = SwayWorkspace::open(sway->socket());
    ASSERT_TRUE(ws);
    int reports = 0;
    ws->setActivationHandler([&](const std::string&) { ++reports; });
    ASSERT_TRUE(spin_until([&] { return reports == 1; }));
    NVLogCapture log;

    sway->kill();
    ASSERT_TRUE(spin_until([&] { return log.contains("SwayWorkspace: the Sway IPC connection was lost"); }));
    EXPECT_FALSE(ws->isConnected());
    EXPECT_LT(nvtest::cpu_seconds_of_event_loop(1000), 0.15);
    EXPECT_EQ(log.count("SwayWorkspace: the Sway IPC connection was lost"), 1u);
    EXPECT_EQ(reports, 1);
}

TEST(SwayWorkspace, NothingListeningIsNoWorkspace)
{
    nvtest::qt_app();
    QTemporaryDir dir;
    EXPECT_FALSE(SwayWorkspace::open(dir.filePath("sway-ipc.sock").toStdString()));
    EXPECT_FALSE(SwayWorkspace::open(""));
}

} // namespace
