#include "platform/qt/KWinWorkspace.h"
#include "tests/linux/KWinTestSupport.h"
#include "tests/linux/WaylandTestSupport.h"
#include "tests/linux/XvfbTestSupport.h"

#include "core/log/NVLog.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace {

using nvtest::spin_until;

constexpr const char* kAgentName = "nuvroapp.NuvroAgent";

std::string exe_of(const nvtest::Client& c)
{
    return std::filesystem::read_symlink("/proc/" + std::to_string(c.pid()) + "/exe").string();
}

QString shipped_script()
{
    return QString::fromLocal8Bit(qgetenv("NV_RESOURCES_DIR")) + "/res/kwin/frontmost.js";
}

// The agent's side of a test: a connection owning the agent's name, which the script calls.
struct Agent {
    explicit Agent(const QString& address) : bus(QDBusConnection::connectToBus(address, "nv-agent-test " + address))
    {
        ok = bus.registerService(kAgentName);
    }
    ~Agent() { bus.unregisterService(kAgentName); }
    QDBusConnection bus;
    bool ok = false;
};

struct KWinFixture : ::testing::Test {
    void SetUp() override
    {
        if (!nvtest::on_path("kwin_wayland") || !std::filesystem::exists("/usr/bin/kwin_wayland"))
            GTEST_SKIP() << "kwin_wayland missing (package kwin-wayland)";
        window = QString::fromLocal8Bit(NV_WAYLAND_WINDOW);
        ASSERT_FALSE(bus.address().isEmpty());
        kwin = std::make_unique<nvtest::VirtualKWin>(bus.address());
        agent = std::make_unique<Agent>(bus.address());
        ASSERT_TRUE(agent->ok);
        ASSERT_TRUE(kwin->start("nv-kwin-1")) << kwin->log().toStdString();
        other = nvtest::copy_program(window, dir.path(), "nv_other_window");
        ASSERT_FALSE(other.isEmpty());
    }
    void TearDown() override
    {
        if (HasFailure() && kwin)
            std::cerr << "KWin's output:\n" << kwin->log().toStdString() << "\n";
    }
    std::unique_ptr<KWinWorkspace> open(const QString& script)
    {
        auto ws = KWinWorkspace::open(script, agent->bus);
        if (ws)
            ws->setActivationHandler([this](const std::string& path) { reports.push_back(path); });
        return ws;
    }

    nvtest::PrivateBus bus;
    QTemporaryDir dir;
    QString window;
    QString other;
    std::unique_ptr<nvtest::VirtualKWin> kwin;
    std::unique_ptr<Agent> agent;
    std::vector<std::string> reports;
};

TEST_F(KWinFixture, FollowsTheActivatedWindowsProgramThroughTheScriptAndUnloadsIt)
{
    // A script of the same name that an ended agent left behind: KWin would refuse ours.
    ASSERT_TRUE(kwin->runScript("// left over\n", nvKWinScriptName));
    auto ws = open(shipped_script());
    ASSERT_TRUE(ws);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; })) << "nothing is active at the start";
    EXPECT_EQ(reports[0], "");

    auto first = kwin->window(window);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }));
    EXPECT_EQ(reports[1], exe_of(*first));
    EXPECT_EQ(ws->frontmostOwnerName(), "nv_wayland_window");
    auto second = kwin->window(other);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }));
    EXPECT_EQ(reports[2], exe_of(*second));
    EXPECT_EQ(ws->frontmostOwnerName(), "nv_other_window");

    // KWin deactivates the old window before it activates the new one: no default
    // profile in between.
    ASSERT_TRUE(kwin->activate(first->pid()));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 4; }));
    spin_until([] { return false; }, 200);
    EXPECT_EQ(reports, (std::vector<std::string>{"", exe_of(*first), exe_of(*second), exe_of(*first)}));

    // Only KWin tells the workspace what is active.
    QDBusConnection stranger = QDBusConnection::connectToBus(bus.address(), "nv-stranger");
    auto spoof = QDBusMessage::createMethodCall(kAgentName, nvKWinWorkspacePath, "nuvroapp.NuvroAgent.Workspace",
                                                "windowActivated");
    spoof.setArguments({int(second->pid()), QString("Spoof")});
    QDBusPendingCall answer = stranger.asyncCall(spoof);
    ASSERT_TRUE(spin_until([&] { return answer.isFinished(); }));
    EXPECT_FALSE(answer.isError()) << answer.error().message().toStdString();
    EXPECT_EQ(reports.size(), 4u);
    EXPECT_EQ(ws->frontmostOwnerName(), "nv_wayland_window");

    ws.reset();
    EXPECT_FALSE(kwin->isLoaded(nvKWinScriptName));
}

// The hung-up KWin must neither be polled for nor leave a busy loop; the KWin that comes
// back gets the script again.
TEST_F(KWinFixture, LoadsTheScriptAgainWhenKWinComesBack)
{
    auto ws = open(shipped_script());
    ASSERT_TRUE(ws);
    auto first = kwin->window(window);
    ASSERT_TRUE(spin_until([&] { return !reports.empty() && reports.back() == exe_of(*first); }));
    NVLogCapture log;
    const size_t before = reports.size();

    kwin->stop();
    ASSERT_TRUE(spin_until([&] { return log.contains("KWinWorkspace: KWin left the session bus"); }));
    EXPECT_LT(nvtest::cpu_seconds_of_event_loop(1000), 0.15);
    EXPECT_EQ(log.count("KWinWorkspace: KWin left the session bus"), 1u);

    ASSERT_TRUE(kwin->start("nv-kwin-2")) << kwin->log().toStdString();
    ASSERT_TRUE(spin_until([&] { return kwin->isLoaded(nvKWinScriptName); }, 10000))
        << ::testing::PrintToString(log.lines());
    auto second = kwin->window(other);
    ASSERT_TRUE(spin_until([&] { return !reports.empty() && reports.back() == exe_of(*second); }));
    EXPECT_GT(reports.size(), before);
    EXPECT_EQ(ws->frontmostOwnerName(), "nv_other_window");
}

TEST_F(KWinFixture, AScriptKWinCannotLoadIsLoggedOnceAndReportsNothing)
{
    NVLogCapture log;
    auto ws = open(dir.filePath("missing.js"));
    ASSERT_TRUE(ws);
    ASSERT_TRUE(spin_until([&] { return log.contains("KWinWorkspace: KWin did not"); }));
    auto first = kwin->window(window);
    spin_until([] { return false; }, 1500);
    EXPECT_EQ(log.count("KWinWorkspace: KWin did not"), 1u);
    EXPECT_TRUE(reports.empty());
}

TEST(KWinWorkspace, WithoutKWinOnTheBusThereIsNoAdapter)
{
    nvtest::PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    EXPECT_EQ(KWinWorkspace::open(shipped_script(), QDBusConnection::connectToBus(bus.address(), "nv-no-kwin")),
              nullptr);
}

} // namespace
