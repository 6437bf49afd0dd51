// The real agent in a Wayland session (a headless Sway): the frontmost application from the
// compositor and the display layout in its logical coordinates, both seen in the agent's
// recording of the session, and the tip, which takes no focus.
#include "core/channel/NVNotificationNames.h"
#include "platform/qt/DBusNotificationCenter.h"
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

nlohmann::json find_pid(const nlohmann::json& node, qint64 pid)
{
    if (node.value("pid", qint64(0)) == pid)
        return node;
    for (const char* key : {"nodes", "floating_nodes"})
        for (const auto& child : node.value(key, nlohmann::json::array()))
            if (auto found = find_pid(child, pid); found.is_object())
                return found;
    return nullptr;
}

// The window of a process in Sway's tree; null when it has none.
nlohmann::json window_of(nvtest::HeadlessSway& sway, qint64 pid)
{
    QProcess tree;
    tree.start("swaymsg", {"-s", QString::fromStdString(sway.socket()), "-t", "get_tree", "-r"});
    tree.waitForFinished(5000);
    return find_pid(nlohmann::json::parse(tree.readAllStandardOutput().toStdString(), nullptr, false), pid);
}

TEST(AgentOnSway, FollowsTheFocusedWindowsProgramMapsOverTheLogicalLayoutAndTipsWithoutFocus)
{
    if (!nvtest::HeadlessSway::installed())
        GTEST_SKIP() << "sway is not installed";
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

    nvtest::ScopedConfigHome home;
    const std::string recording = (home.path() / "session.jsonl").string();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path().string()));
    env.insert("XDG_SESSION_TYPE", "wayland");
    env.insert("XDG_CURRENT_DESKTOP", "sway");
    env.insert("WAYLAND_DISPLAY", sway.waylandDisplay());
    env.insert("SWAYSOCK", QString::fromStdString(sway.socket()));
    env.insert("QT_QPA_PLATFORM", "wayland");
    // Under the leak checker: what Qt's wayland platform keeps to the end is not the agent's.
    env.insert("LSAN_OPTIONS", "suppressions=" NV_QT_WAYLAND_LSAN_SUPPRESSIONS);
    QProcess agent;
    agent.setProcessEnvironment(env);
    agent.setProcessChannelMode(QProcess::MergedChannels);
    agent.start(NV_AGENT_EXE, {"--simulate", "--print-events", "--foreground", "--record",
                               QString::fromStdString(recording)});
    ASSERT_TRUE(agent.waitForStarted(5000));
    QByteArray out;
    auto said = [&](const char* text) {
        return spin_until([&] {
            out += agent.readAll();
            return out.contains(text);
        }, 10000);
    };
    ASSERT_TRUE(said("frontmost application from the Sway IPC")) << out.toStdString();

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

    nlohmann::json displays;
    for (const auto& j : recorded(recording))
        if (j.is_object() && j.contains("displays"))
            displays = j["displays"];
    EXPECT_EQ(displays, nlohmann::json::parse("[[0, 0, 1280, 720], [1280, 0, 960, 540]]")) << displays.dump();

    // A function-set switch shows the tip: a window of the agent's own that Sway keeps
    // unfocused, so the frontmost application stays the one the user works in.
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), "tip");
    DBusNotificationCenter center(connection);
    center.post(nvNotificationContextMEkeyChanged, {{nvKeyMuxIndex, int32_t(1)},
                                                    {nvKeyScreenToDisplay, int32_t(0)},
                                                    {nvKeyNameArray, NVPlistStrings{"Brush", "Eraser", "Zoom"}}});
    ASSERT_TRUE(spin_until([&] { return window_of(sway, agent.processId()).is_object(); }, 10000))
        << out.toStdString();
    spin_until([] { return false; }, 300);
    EXPECT_FALSE(window_of(sway, agent.processId())["focused"].get<bool>());
    EXPECT_TRUE(window_of(sway, paint->processId())["focused"].get<bool>());
    EXPECT_EQ(activations(recording).size(), 3u);

    agent.terminate();
    EXPECT_TRUE(agent.waitForFinished(5000));
    out += agent.readAll();
    EXPECT_EQ(agent.exitCode(), 0) << out.toStdString();
    // Wayland windows have no opacity: the tip fades its own painting, without a warning a frame.
    EXPECT_FALSE(out.contains("does not support setting window opacity"));
}

} // namespace
