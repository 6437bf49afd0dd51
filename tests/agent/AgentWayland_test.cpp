// The real agent in a Wayland session (a headless Sway, a virtual KWin): the frontmost
// application from the compositor and the display layout in its logical coordinates, both
// seen in the agent's recording of the session, and the tip, which takes no focus.
#include "core/channel/NVNotificationNames.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "platform/qt/KWinWorkspace.h"
#include "tests/linux/KWinTestSupport.h"
#include "tests/linux/ScreenshotSupport.h"
#include "tests/linux/SwayTestSupport.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using nvtest::spin_until;

std::vector<nlohmann::json> recorded(const std::string& file)
{
    std::vector<nlohmann::json> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(nlohmann::json::parse(line, nullptr, false));
    return lines;
}

std::vector<std::string> activations(const std::string& file)
{
    std::vector<std::string> paths;
    for (const auto& j : recorded(file))
        if (j.is_object() && j.contains("activate"))
            paths.push_back(j["activate"].get<std::string>());
    return paths;
}

nlohmann::json displays_of(const std::string& file)
{
    nlohmann::json displays;
    for (const auto& j : recorded(file))
        if (j.is_object() && j.contains("displays"))
            displays = j["displays"];
    return displays;
}

// The agent under the test's bus and config folder, in a Wayland session of the desktop named.
class WaylandAgent {
public:
    WaylandAgent(const QString& busAddress, const QString& desktop, const QString& waylandDisplay,
                 const QStringList& extraEnv = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(home_.path().string()));
        env.insert("XDG_SESSION_TYPE", "wayland");
        env.insert("XDG_CURRENT_DESKTOP", desktop);
        env.insert("WAYLAND_DISPLAY", waylandDisplay);
        env.insert("QT_QPA_PLATFORM", "wayland");
        // Under the leak checker: what Qt's wayland platform keeps to the end is not the agent's.
        env.insert("LSAN_OPTIONS", "suppressions=" NV_QT_WAYLAND_LSAN_SUPPRESSIONS);
        for (const QString& e : extraEnv)
            env.insert(e.section('=', 0, 0), e.section('=', 1));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(NV_AGENT_EXE, {"--simulate", "--print-events", "--foreground", "--record",
                                     QString::fromStdString(recording)});
    }
    ~WaylandAgent()
    {
        process.kill();
        process.waitForFinished(5000);
    }

    bool said(const char* text)
    {
        return spin_until([&] {
            out += process.readAll();
            return out.contains(text);
        }, 30000);
    }
    // Ends the agent; true for a clean exit.
    bool stop()
    {
        process.terminate();
        const bool ended = process.waitForFinished(5000);
        out += process.readAll();
        return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QProcess process;
    QByteArray out;
    nvtest::ScopedConfigHome home_;
    const std::string recording = (home_.path() / "session.jsonl").string();
};

TEST(AgentOnSway, FollowsTheFocusedWindowsProgramMapsOverTheLogicalLayoutAndTipsWithoutFocus)
{
    if (!nvtest::HeadlessSway::installed() || !nvtest::on_path("grim"))
        GTEST_SKIP() << "sway or grim is not installed";
    nvtest::PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    nvtest::HeadlessSway sway("output HEADLESS-1 resolution 1280x720 position 0 0\n");
    ASSERT_TRUE(sway.ok());
    // A second output at twice the scale: 960x540 in the layout.
    ASSERT_TRUE(sway.command("create_output"));
    ASSERT_TRUE(sway.command("output HEADLESS-2 mode 1920x1080 scale 2 position 1280 0"));

    QTemporaryDir programs;
    for (const char* name : {"nuvro-paint", "nuvro-sketch"}) {
        ASSERT_TRUE(QFile::copy(NV_WAYLAND_WINDOW, programs.filePath(name)));
        QFile::setPermissions(programs.filePath(name), QFile::permissions(NV_WAYLAND_WINDOW));
    }
    auto paint = sway.client(programs.filePath("nuvro-paint"));
    ASSERT_TRUE(spin_until([&] { return sway.command(QString("[pid=%1] focus").arg(paint->processId())); }, 10000));

    WaylandAgent agent(bus.address(), "sway", sway.waylandDisplay(),
                       {"SWAYSOCK=" + QString::fromStdString(sway.socket())});
    const std::string& recording = agent.recording;
    ASSERT_TRUE(agent.process.waitForStarted(5000));
    ASSERT_TRUE(agent.said("frontmost application from the Sway IPC")) << agent.out.toStdString();

    auto paintPath = std::filesystem::canonical(programs.filePath("nuvro-paint").toStdString()).string();
    auto sketchPath = std::filesystem::canonical(programs.filePath("nuvro-sketch").toStdString()).string();
    ASSERT_TRUE(spin_until([&] { return activations(recording) == std::vector<std::string>{paintPath}; }, 10000))
        << "the window focused at the start";
    auto sketch = sway.client(programs.filePath("nuvro-sketch"));
    ASSERT_TRUE(spin_until([&] { return activations(recording).size() == 2; }, 10000));
    EXPECT_EQ(activations(recording)[1], sketchPath);
    ASSERT_TRUE(sway.command(QString("[pid=%1] focus").arg(paint->processId())));
    ASSERT_TRUE(spin_until([&] { return activations(recording).size() == 3; }));
    EXPECT_EQ(activations(recording)[2], paintPath);

    EXPECT_EQ(displays_of(recording), nlohmann::json::parse("[[0, 0, 1280, 720], [1280, 0, 960, 540]]"))
        << displays_of(recording).dump();

    // A function-set switch shows the tip on the output it names, the second: a strip on the
    // compositor's overlay layer, no window that could take the focus, so the frontmost
    // application stays the one the user works in. In that output's pixels (scale 2) the
    // strip is the rows from (540 - 150) * 2 to (540 - 100) * 2.
    auto shot = [&](const char* output) { return nvtest::screenshot(sway.waylandDisplay(), output); };
    // What an output shows once the focus changes above have been drawn: two shots alike.
    auto settled = [&](const char* output) {
        nvtest::Screenshot last;
        spin_until([&] {
            nvtest::Screenshot next = shot(output);
            const bool same = next.sameRows(last, 0, next.height);
            last = std::move(next);
            return same;
        });
        return last;
    };
    const nvtest::Screenshot bare = settled("HEADLESS-2");
    const nvtest::Screenshot first = settled("HEADLESS-1");
    ASSERT_EQ(bare.width, 1920) << "grim took no screenshot";
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), "tip");
    DBusNotificationCenter center(connection);
    auto tip = [&](int32_t set, int32_t screen) {
        center.post(nvNotificationContextMEkeyChanged, {{nvKeyMuxIndex, set},
                                                        {nvKeyScreenToDisplay, screen},
                                                        {nvKeyNameArray, NVPlistStrings{"Brush", "Eraser", "Zoom"}}});
    };
    auto strip_shown = [&] {
        const nvtest::Screenshot s = shot("HEADLESS-2");
        return !s.sameRows(bare, 780, 880) && s.sameRows(bare, 0, 780) && s.sameRows(bare, 880, 1080);
    };
    tip(1, 1);
    ASSERT_TRUE(agent.said("the tip is a strip on the overlay layer")) << agent.out.toStdString();
    ASSERT_TRUE(spin_until(strip_shown, 10000));
    EXPECT_TRUE(shot("HEADLESS-1").sameRows(first, 0, 720)) << "nothing on the other output";
    EXPECT_FALSE(nvtest::sway_window_of(sway, agent.process.processId()).is_object()) << "no window of the agent's";
    EXPECT_TRUE(nvtest::sway_window_of(sway, paint->processId())["focused"].get<bool>());
    EXPECT_EQ(activations(recording).size(), 3u);

    // It fades out and is gone; the next tip shows on the same strip, where the first was.
    ASSERT_TRUE(spin_until([&] { return shot("HEADLESS-2").sameRows(bare, 0, 1080); }, 10000));
    tip(2, 0);
    ASSERT_TRUE(spin_until(strip_shown, 10000));
    EXPECT_TRUE(nvtest::sway_window_of(sway, paint->processId())["focused"].get<bool>());
    EXPECT_TRUE(spin_until([&] { return shot("HEADLESS-2").sameRows(bare, 0, 1080); }, 10000));
    EXPECT_EQ(activations(recording).size(), 3u);

    EXPECT_TRUE(agent.stop()) << agent.out.toStdString();
    // Wayland windows have no opacity: the tip fades its own painting, without a warning a frame.
    EXPECT_FALSE(agent.out.contains("does not support setting window opacity"));
}

TEST(AgentOnKWin, FollowsTheActivatedWindowsProgramAndMapsOverOutputsOfDifferentScales)
{
    if (!nvtest::on_path("kwin_wayland") || !std::filesystem::exists("/usr/bin/kwin_wayland"))
        GTEST_SKIP() << "kwin_wayland missing (package kwin-wayland)";
#ifndef NV_KDE_OUTPUT_SCALE
    GTEST_SKIP() << "built without KDE's output-management protocol (package plasma-wayland-protocols)";
#else
    nvtest::PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    nvtest::VirtualKWin kwin(bus.address());
    ASSERT_TRUE(kwin.start("nv-kwin-agent", 2)) << kwin.log().toStdString();
    // The second output at twice the scale, as the desktop's display settings set it: 640x360
    // in the layout.
    auto scale = kwin.window(NV_KDE_OUTPUT_SCALE, {"Virtual-1", "2"});
    ASSERT_TRUE(scale->process.waitForFinished(10000));
    ASSERT_EQ(scale->process.exitCode(), 0) << kwin.log().toStdString();

    QTemporaryDir programs;
    for (const char* name : {"nuvro-paint", "nuvro-sketch"}) {
        ASSERT_TRUE(QFile::copy(NV_WAYLAND_WINDOW, programs.filePath(name)));
        QFile::setPermissions(programs.filePath(name), QFile::permissions(NV_WAYLAND_WINDOW));
    }
    const auto paintPath = std::filesystem::canonical(programs.filePath("nuvro-paint").toStdString()).string();
    const auto sketchPath = std::filesystem::canonical(programs.filePath("nuvro-sketch").toStdString()).string();
    auto paint = kwin.window(programs.filePath("nuvro-paint"));
    // Its window active before the agent starts: the script reports it as the one at the start.
    ASSERT_TRUE(spin_until([&] { return kwin.activePid() == paint->pid(); }, 10000)) << kwin.log().toStdString();

    WaylandAgent agent(bus.address(), "KDE", kwin.waylandDisplay());
    ASSERT_TRUE(agent.process.waitForStarted(5000));
    ASSERT_TRUE(agent.said("frontmost application from the KWin script")) << agent.out.toStdString();
    ASSERT_TRUE(spin_until([&] { return !activations(agent.recording).empty(); }, 10000)) << agent.out.toStdString();
    EXPECT_EQ(activations(agent.recording).back(), paintPath) << "the window active at the start";
    auto sketch = kwin.window(programs.filePath("nuvro-sketch"));
    ASSERT_TRUE(spin_until([&] { return activations(agent.recording).back() == sketchPath; }, 10000));
    ASSERT_TRUE(kwin.activate(paint->pid()));
    ASSERT_TRUE(spin_until([&] { return activations(agent.recording).back() == paintPath; }, 10000));
    EXPECT_EQ(activations(agent.recording), (std::vector<std::string>{paintPath, sketchPath, paintPath}));

    // The tip is a strip on KWin's overlay layer, no window: the frontmost application stays.
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), "tip");
    DBusNotificationCenter center(connection);
    center.post(nvNotificationContextMEkeyChanged, {{nvKeyMuxIndex, int32_t(1)},
                                                    {nvKeyScreenToDisplay, int32_t(1)},
                                                    {nvKeyNameArray, NVPlistStrings{"Brush", "Eraser"}}});
    ASSERT_TRUE(agent.said("the tip is a strip on the overlay layer")) << agent.out.toStdString();
    // A protocol error would end the strip's connection while it fades.
    spin_until([] { return false; }, 1000);
    agent.out += agent.process.readAll();
    EXPECT_FALSE(agent.out.contains("LayerShellSurface")) << agent.out.toStdString();
    EXPECT_FALSE(agent.out.contains("did not place the tip")) << "Qt names the screen as KWin names the output";
    EXPECT_EQ(activations(agent.recording).size(), 3u);

    EXPECT_EQ(displays_of(agent.recording), nlohmann::json::parse("[[0, 0, 1280, 720], [1280, 0, 640, 360]]"))
        << displays_of(agent.recording).dump();

    EXPECT_TRUE(agent.stop()) << agent.out.toStdString();
    EXPECT_FALSE(kwin.isLoaded(nvKWinScriptName)) << "the script is unloaded when the agent ends";
#endif
}

// GNOME Shell offers no layer shell: the tip stays the ordinary window it was, shown and
// faded without a warning.
TEST(AgentOnGnomeShell, ShowsTheTipAsAnOrdinaryWindow)
{
    if (!nvtest::HeadlessGnomeShell::installed())
        GTEST_SKIP() << "gnome-shell missing (package gnome-shell)";
    nvtest::HeadlessGnomeShell shell;
    ASSERT_TRUE(shell.start()) << shell.log().toStdString();
    const QString display = shell.waylandDisplay();
    const QString busAddress = shell.busAddress();

    // Asked whether it could draw window decorations, Qt's wayland platform would start the
    // shell's EGL, whose driver keeps an allocation to the end that the leak checker cannot
    // trace (the driver's frames are unloaded by then); the frameless tip has none.
    WaylandAgent agent(busAddress, "GNOME", display, {"QT_WAYLAND_DISABLE_WINDOWDECORATION=1"});
    ASSERT_TRUE(agent.process.waitForStarted(5000));
    ASSERT_TRUE(agent.said("simulated tablet")) << agent.out.toStdString();
    QDBusConnection connection = QDBusConnection::connectToBus(busAddress, "tip");
    DBusNotificationCenter center(connection);
    // Again until the agent listens: it subscribes on the bus once its start-up is done.
    const char* fallback = "the compositor offers no layer shell: the tip is an ordinary window";
    EXPECT_TRUE(spin_until([&] {
        center.post(nvNotificationContextMEkeyChanged, {{nvKeyMuxIndex, int32_t(1)},
                                                        {nvKeyScreenToDisplay, int32_t(0)},
                                                        {nvKeyNameArray, NVPlistStrings{"Brush", "Eraser"}}});
        return spin_until([&] {
            agent.out += agent.process.readAll();
            return agent.out.contains(fallback);
        }, 1000);
    }, 20000)) << agent.out.toStdString();
    // Through the fade.
    spin_until([] { return false; }, 2500);
    EXPECT_TRUE(agent.stop()) << agent.out.toStdString();
    EXPECT_FALSE(agent.out.contains("does not support setting window opacity"));
}

} // namespace
