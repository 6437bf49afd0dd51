#include "platform/qt/GnomeShellWorkspace.h"
#include "tests/linux/WaylandTestSupport.h"
#include "tests/linux/XvfbTestSupport.h"

#include "core/log/NVLog.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVirtualObject>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace {

using nvtest::spin_until;

std::string exe_of(qint64 pid)
{
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe").string();
}

// The extension's side of the bus contract, played by the test: Current() answers the
// focus set here, Changed signals it.
class FakeExtension : public QDBusVirtualObject {
public:
    explicit FakeExtension(const QString& address)
        : bus_(QDBusConnection::connectToBus(address, "nv-fake-shell " + address))
    {
        bus_.registerService("org.gnome.Shell");
    }
    ~FakeExtension() override { leave(); }

    bool enable()
    {
        return bus_.registerVirtualObject(nvGnomeFocusPath, this) && bus_.registerService(nvGnomeFocusService);
    }
    void leave()
    {
        bus_.unregisterService(nvGnomeFocusService);
        bus_.unregisterObject(nvGnomeFocusPath);
    }
    // Sets the focus; signals it unless quietly.
    void focus(uint pid, const QString& owner, bool quietly = false)
    {
        pid_ = pid;
        owner_ = owner;
        if (quietly)
            return;
        auto signal = QDBusMessage::createSignal(nvGnomeFocusPath, nvGnomeFocusInterface, "Changed");
        signal.setArguments({pid, owner});
        bus_.send(signal);
    }
    int asked() const { return asked_; }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != "Current")
            return false;
        ++asked_;
        connection.send(message.createReply({pid_, owner_}));
        return true;
    }

private:
    QDBusConnection bus_;
    uint pid_ = 0;
    QString owner_;
    int asked_ = 0;
};

struct FakeShellFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_FALSE(bus.address().isEmpty());
        shell = std::make_unique<FakeExtension>(bus.address());
        sleeper.start("sleep", {"30"});
        reader.start("cat", QStringList{});
        ASSERT_TRUE(sleeper.waitForStarted(5000) && reader.waitForStarted(5000));
    }
    void TearDown() override
    {
        for (QProcess* p : {&sleeper, &reader}) {
            p->kill();
            p->waitForFinished(2000);
        }
    }
    // Two programs with windows.
    uint sleeperPid() const { return uint(sleeper.processId()); }
    uint readerPid() const { return uint(reader.processId()); }
    std::unique_ptr<GnomeShellWorkspace> open()
    {
        auto ws = GnomeShellWorkspace::open(QDBusConnection::connectToBus(bus.address(), "nv-agent " + bus.address()));
        if (ws)
            ws->setActivationHandler([this](const std::string& path) { reports.push_back(path); });
        return ws;
    }

    nvtest::PrivateBus bus;
    std::unique_ptr<FakeExtension> shell;
    std::vector<std::string> reports;
    QProcess sleeper;
    QProcess reader;
};

TEST_F(FakeShellFixture, AsksTheExtensionWhenItAppearsAndFollowsItsSignals)
{
    NVLogCapture log;
    auto ws = open();
    ASSERT_TRUE(ws);
    EXPECT_EQ(log.count("the shell extension nuvro-focus@nuvro.example.com does not answer"), 1u);
    spin_until([] { return false; }, 200);
    EXPECT_TRUE(reports.empty());

    // Enabled later: what has the focus now applies without waiting for a change.
    shell->focus(readerPid(), "Reader", true);
    ASSERT_TRUE(shell->enable());
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; }));
    EXPECT_EQ(shell->asked(), 1);
    EXPECT_EQ(reports[0], exe_of(readerPid()));
    EXPECT_EQ(ws->frontmostOwnerName(), "Reader");

    shell->focus(sleeperPid(), "Sleeper");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }));
    EXPECT_EQ(reports[1], exe_of(sleeperPid()));
    EXPECT_EQ(ws->frontmostOwnerName(), "Sleeper");
    // Another window of the same program: its owner name, no new activation.
    shell->focus(sleeperPid(), "Sleeper 2");
    ASSERT_TRUE(spin_until([&] { return ws->frontmostOwnerName() == "Sleeper 2"; }));

    // The agent's own window (its tip) taking the focus leaves the frontmost as it is.
    shell->focus(0, "");
    shell->focus(uint(getpid()), "NuvroAgent");
    spin_until([] { return false; }, 200);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(ws->frontmostOwnerName(), "Sleeper 2");

    // No focus on the way to the next window is no change of profile; no focus that lasts is.
    shell->focus(0, "");
    shell->focus(readerPid(), "Reader");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }));
    shell->focus(0, "");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 4; }));
    spin_until([] { return false; }, 200);
    EXPECT_EQ(reports, (std::vector<std::string>{exe_of(readerPid()), exe_of(sleeperPid()), exe_of(readerPid()), ""}));
    EXPECT_EQ(ws->frontmostOwnerName(), "");
}

// A process whose program cannot be read (ended, or another user's) selects the default
// profile; an extension that goes away is waited for without spinning and asked again.
TEST_F(FakeShellFixture, UnreadableProgramsAndAnExtensionThatLeavesAreSaidOnce)
{
    shell->focus(readerPid(), "Reader", true);
    ASSERT_TRUE(shell->enable());
    auto ws = open();
    ASSERT_TRUE(ws);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; }));
    NVLogCapture log;

    QProcess gone;
    gone.start("sleep", {"30"});
    ASSERT_TRUE(gone.waitForStarted(5000));
    const auto gonePid = uint(gone.processId());
    gone.kill();
    ASSERT_TRUE(gone.waitForFinished(5000));
    shell->focus(gonePid, "Gone");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }));
    EXPECT_EQ(reports[1], "");
    EXPECT_EQ(log.count("process " + std::to_string(gonePid) + ": its program cannot be read"), 1u);

    shell->leave();
    ASSERT_TRUE(spin_until([&] { return log.contains("GnomeShellWorkspace: the shell extension left"); }));
    EXPECT_LT(nvtest::cpu_seconds_of_event_loop(1000), 0.15);
    EXPECT_EQ(log.count("GnomeShellWorkspace: the shell extension left"), 1u);
    EXPECT_EQ(reports.size(), 2u);

    shell->focus(readerPid(), "Reader", true);
    ASSERT_TRUE(shell->enable());
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }));
    EXPECT_EQ(reports[2], exe_of(readerPid()));
    EXPECT_EQ(shell->asked(), 2);
}

// The module form that GNOME Shell 45 and later load, hosted by gjs as they do (this machine's
// shell runs the legacy form, below); the fixture plays the rest of the shell.
TEST_F(FakeShellFixture, TheModuleFormForNewerShellsKeepsTheSameContract)
{
    if (!nvtest::on_path("gjs"))
        GTEST_SKIP() << "gjs missing (package gjs)";
    QProcess host;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    host.setProcessEnvironment(env);
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    host.start("gjs", {"-m", NV_GNOME_MODULE_HOST, NV_GNOME_EXTENSION_DIR});
    ASSERT_TRUE(host.waitForStarted(5000));
    auto say = [&](const std::string& line) {
        host.write((line + "\n").c_str());
        host.waitForBytesWritten(5000);
    };
    NVLogCapture log;
    auto ws = open();
    ASSERT_TRUE(ws);

    // Enabled: what has the focus now applies, then every change.
    say("focus " + std::to_string(readerPid()) + " Reader");
    say("enable");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; }, 10000));
    EXPECT_EQ(reports[0], exe_of(readerPid()));
    EXPECT_EQ(ws->frontmostOwnerName(), "Reader");
    say("focus " + std::to_string(sleeperPid()) + " Sleeper");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }));
    EXPECT_EQ(reports[1], exe_of(sleeperPid()));
    EXPECT_EQ(ws->frontmostOwnerName(), "Sleeper");
    say("focus 0");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }));
    EXPECT_EQ(reports[2], "");

    // Disabled, it leaves the bus; enabled again, it is asked again.
    say("disable");
    ASSERT_TRUE(spin_until([&] { return log.contains("GnomeShellWorkspace: the shell extension left"); }));
    say("focus " + std::to_string(readerPid()) + " Reader");
    say("enable");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 4; }));
    EXPECT_EQ(reports[3], exe_of(readerPid()));

    host.closeWriteChannel();
    ASSERT_TRUE(host.waitForFinished(10000));
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(host.exitCode(), 0);
}

TEST(GnomeShellWorkspace, WithoutTheShellOnTheBusThereIsNoAdapter)
{
    nvtest::PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    EXPECT_EQ(GnomeShellWorkspace::open(QDBusConnection::connectToBus(bus.address(), "nv-no-shell")), nullptr);
}

// The shipped extension in a real GNOME Shell, headless on buses of the test's own.
TEST(GnomeShellWorkspace, TheShippedExtensionReportsTheFocusedWindowOfARealShell)
{
    if (!nvtest::HeadlessGnomeShell::installed())
        GTEST_SKIP() << "gnome-shell missing (package gnome-shell)";
    nvtest::HeadlessGnomeShell shell;
    const std::string extensions = shell.dataDir().toStdString() + "/gnome-shell/extensions";
    std::filesystem::create_directories(extensions);
    std::filesystem::copy(NV_GNOME_EXTENSION_DIR, extensions + "/" + nvGnomeExtensionUuid);
    ASSERT_TRUE(shell.start()) << shell.log().toStdString();
    QDBusConnection bus = QDBusConnection::connectToBus(shell.busAddress(), "nv-gnome-test");
    auto call = [&](const char* iface, const char* method, const QVariantList& args) {
        auto m = QDBusMessage::createMethodCall("org.gnome.Shell", "/org/gnome/Shell", iface, method);
        m.setArguments(args);
        return bus.call(m, QDBus::Block, 10000);
    };
    // The shell takes its name before its objects are there.
    ASSERT_TRUE(spin_until([&] {
        return call("org.freedesktop.DBus.Properties", "Get", {"org.gnome.Shell", "ShellVersion"}).type() ==
               QDBusMessage::ReplyMessage;
    }, 30000)) << shell.log().toStdString();
    // The shell starts in its overview, where no window has the focus. It opens it late in
    // its start-up, seconds after its name on a loaded machine: closed before that, it would
    // open over the test's first window.
    auto overview = [&] {
        const auto active = call("org.freedesktop.DBus.Properties", "Get", {"org.gnome.Shell", "OverviewActive"});
        return active.type() == QDBusMessage::ReplyMessage &&
               active.arguments().value(0).value<QDBusVariant>().variant().toBool();
    };
    ASSERT_TRUE(spin_until(overview, 30000)) << shell.log().toStdString();
    ASSERT_TRUE(spin_until([&] {
        call("org.freedesktop.DBus.Properties", "Set",
             {"org.gnome.Shell", "OverviewActive", QVariant::fromValue(QDBusVariant(false))});
        spin_until([] { return false; }, 500);
        return !overview();
    }, 30000));
    NVLogCapture log;
    auto ws = GnomeShellWorkspace::open(QDBusConnection::connectToBus(shell.busAddress(), "nv-gnome-agent"));
    ASSERT_TRUE(ws);
    EXPECT_TRUE(log.contains("does not answer: enable it"));
    std::vector<std::string> reports;
    ws->setActivationHandler([&](const std::string& path) { reports.push_back(path); });

    const auto enabled = call("org.gnome.Shell.Extensions", "EnableExtension", {QString(nvGnomeExtensionUuid)});
    ASSERT_EQ(enabled.type(), QDBusMessage::ReplyMessage) << enabled.errorMessage().toStdString();
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; }, 10000)) << shell.log().toStdString();
    EXPECT_EQ(reports[0], "") << "no window yet";

    QTemporaryDir programs;
    const QString window = QString::fromLocal8Bit(NV_WAYLAND_WINDOW);
    const QString other = nvtest::copy_program(window, programs.path(), "nv_other_window");
    auto first = shell.client(window);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }, 10000)) << shell.log().toStdString();
    EXPECT_EQ(reports[1], exe_of(first->pid()));
    EXPECT_EQ(ws->frontmostOwnerName(), "nv_wayland_window");
    auto second = shell.client(other);
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }, 10000));
    EXPECT_EQ(reports[2], exe_of(second->pid()));
    EXPECT_EQ(ws->frontmostOwnerName(), "nv_other_window");
    // Its window closed, the focus goes back to the first program's.
    second.reset();
    ASSERT_TRUE(spin_until([&] { return reports.size() == 4; }, 10000));
    EXPECT_EQ(reports[3], exe_of(first->pid()));
}

} // namespace
