// The agent program itself, on a private session bus and offscreen.
#include "agent/AttributeQueryService.h"
#include "core/config/NVConfigPaths.h"
#include "core/events/WindowSystem.h"

#include "tests/qt/QtTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

namespace {

class AgentProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (bus.address().isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path().string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        connection = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "test"));
    }
    void TearDown() override
    {
        for (auto& p : agents) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
            p->waitForFinished(2000);
        }
        agents.clear();
        connection.reset();
        QDBusConnection::disconnectFromBus("test");
    }

    QProcess& start(const QStringList& args)
    {
        agents.push_back(std::make_unique<QProcess>());
        QProcess& p = *agents.back();
        p.setProcessEnvironment(env);
        p.start(NV_AGENT_EXE, args);
        EXPECT_TRUE(p.waitForStarted(5000));
        return p;
    }
    // The agent is up once its attribute service holds the name.
    bool serving()
    {
        return nvtest::spin_until(
            [&] { return connection->interface()->isServiceRegistered(nvAttributeQueryService).value(); }, 10000);
    }
    static std::vector<nlohmann::json> json_lines(const QByteArray& out)
    {
        std::vector<nlohmann::json> lines;
        std::istringstream in(out.toStdString());
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line.front() == '{')
                lines.push_back(nlohmann::json::parse(line));
        return lines;
    }

    nvtest::PrivateBus bus;
    nvtest::ScopedConfigHome home;
    QProcessEnvironment env;
    std::unique_ptr<QDBusConnection> connection;
    std::vector<std::unique_ptr<QProcess>> agents;
};

} // namespace

TEST_F(AgentProcessTest, RunningAgentAnswersQueriesAndASecondOneLeaves)
{
    start({"--simulate", "--print-events", "-runMode", "autoLaunched"});
    ASSERT_TRUE(serving());

    QDBusMessage m = QDBusMessage::createMethodCall(nvAttributeQueryService, nvAttributeQueryPath,
                                                    nvAttributeQueryInterface, "handleDataForAttribute");
    m << QVariantMap{{"rtyp", "TEXT"}};
    const QDBusMessage reply = connection->call(m, QDBus::Block, 5000);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(reply.arguments().value(0).toString(), "vers");
    EXPECT_EQ(reply.arguments().value(1).toByteArray(), QByteArray("\x64\x01\x01\x0B", 4));

    // Started at login from then on.
    const auto entry = home.path() / "autostart" / "nuvroapp.NuvroAgent.desktop";
    EXPECT_NE(nvtest::read_file(entry).find(std::filesystem::canonical(NV_AGENT_EXE).string()), std::string::npos);

    QProcess& second = start({"--simulate", "--print-events"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().contains("Other NuvroAgent running ,exit\n"));
    EXPECT_EQ(agents.front()->state(), QProcess::Running);
}

TEST_F(AgentProcessTest, SimulatedStrokesBecomePrintedEvents)
{
    // A pen display with soft keys: the busiest pen path.
    QProcess& agent = start({"--simulate=NUVRO_P7B0", "--self-test-reports", "520", "--print-events"});
    ASSERT_TRUE(agent.waitForFinished(30000));
    EXPECT_EQ(agent.exitCode(), 0);
    const QByteArray out = agent.readAllStandardOutput();
    EXPECT_TRUE(out.contains("armed_ms=")) << out.toStdString();
    EXPECT_TRUE(out.contains("\nreports=520 "));

    const auto lines = json_lines(out);
    size_t proximity = 0, dragged = 0;
    for (const auto& j : lines) {
        proximity += j.value("event", 0) == 24;
        dragged += j.value("event", 0) == 6;
    }
    EXPECT_GE(proximity, 1u) << "the pen came into proximity";
    EXPECT_GT(dragged, 300u) << "the drawn parts of both strokes";
}

TEST_F(AgentProcessTest, ARecordedSessionReplaysToTheSameEvents)
{
    const std::string recording = (home.path() / "session.jsonl").string();
    QProcess& agent = start({"--simulate=NUVRO_P7B0", "--self-test-reports", "300", "--print-events", "--record",
                             QString::fromStdString(recording)});
    ASSERT_TRUE(agent.waitForFinished(30000));
    ASSERT_EQ(agent.exitCode(), 0);
    // The session ends with the tip down: the agent's shutdown lets go of it, which the
    // recording does not hold.
    const QByteArray out = agent.readAllStandardOutput();
    const qsizetype end = out.indexOf("\nreports=");
    ASSERT_GE(end, 0);
    const auto live = json_lines(out.left(end));
    const auto shutdown = json_lines(out.mid(end));
    ASSERT_EQ(shutdown.size(), 1u);
    EXPECT_EQ(shutdown[0].value("event", 0), NVET_LEFT_MOUSE_UP);

    const auto recorded = json_lines(QByteArray::fromStdString(nvtest::read_file(recording)));
    ASSERT_GE(recorded.size(), 302u);
    EXPECT_TRUE(recorded[0].contains("displays"));
    ASSERT_TRUE(recorded[1].contains("device"));
    EXPECT_EQ(recorded[1]["device"]["vendor"], 0x3A7E);
    EXPECT_TRUE(recorded[1]["device"].contains("string209"));
    size_t reports = 0;
    for (const auto& j : recorded)
        reports += j.contains("report");
    EXPECT_EQ(reports, 300u);

    QProcess replay;
    replay.setProcessEnvironment(env);
    replay.start(NV_REPLAY_EXE, {QString::fromStdString(recording)});
    ASSERT_TRUE(replay.waitForFinished(30000));
    ASSERT_EQ(replay.exitCode(), 0) << replay.readAllStandardError().toStdString();
    // The replay also shows the notifications the agent posts; the agent prints only input.
    std::vector<nlohmann::json> replayed;
    for (auto& j : json_lines(replay.readAllStandardOutput()))
        if (!j.contains("notification"))
            replayed.push_back(std::move(j));

    // The same events in the same order; only the clocks differ.
    ASSERT_FALSE(live.empty());
    ASSERT_EQ(replayed.size(), live.size());
    for (size_t i = 0; i < live.size(); ++i) {
        auto a = live[i], b = replayed[i];
        a.erase("t");
        b.erase("t");
        ASSERT_EQ(a, b) << "event " << i;
    }
}

TEST_F(AgentProcessTest, SigtermAndSigintLetGoOfWhatIsHeldSaveAndExitCleanly)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        QProcess& agent = start({"--simulate", "--print-events", "--self-test-hold"});
        QByteArray out;
        ASSERT_TRUE(nvtest::spin_until(
            [&] {
                out += agent.readAllStandardOutput();
                return out.contains("\nheld\n");
            },
            10000));
        // Written again only by the shutdown.
        ASSERT_TRUE(std::filesystem::remove(getConfigUserFullPath()));

        ::kill(static_cast<pid_t>(agent.processId()), signal);
        ASSERT_TRUE(agent.waitForFinished(10000));
        EXPECT_EQ(agent.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(agent.exitCode(), 0);
        out += agent.readAllStandardOutput();

        const auto after = json_lines(out.mid(out.indexOf("\nheld\n")));
        bool tipUp = false, keyUp = false;
        for (const auto& j : after) {
            tipUp = tipUp || j.value("event", 0) == NVET_LEFT_MOUSE_UP;
            keyUp = keyUp || j.value("hid", 0u) == NVHID_KEY_UP;
        }
        EXPECT_TRUE(tipUp) << out.toStdString();
        EXPECT_TRUE(keyUp) << out.toStdString();
        EXPECT_TRUE(std::filesystem::exists(getConfigUserFullPath()));
        agents.clear();
    }
}

// The agent on its real USB path (the libusb adapter on the main loop) over the project's
// stand-in libusb, whose tablet delivers datagrams sent to a socket as interrupt reports.
TEST_F(AgentProcessTest, ABurstFasterThanTheReportRateLosesNothingAndTheHeldKeyIsReleased)
{
    const std::string socketPath = (home.path() / "tablet.sock").string();
    env.insert("LD_LIBRARY_PATH", NV_STANDIN_LIBUSB_DIR);
    env.insert("NV_STANDIN_SOCKET", QString::fromStdString(socketPath));
    QProcess& agent = start({"--print-events"});
    ASSERT_TRUE(nvtest::spin_until([&] { return std::filesystem::exists(socketPath); }, 10000))
        << "the agent never opened the stand-in tablet: " << agent.readAllStandardOutput().toStdString();

    // No pause between reports: they queue faster than the tablet's rate. Sent from a thread
    // of their own, as the agent's printed events must be read meanwhile.
    constexpr int kMoves = 300;
    std::atomic<int> failedSends = 0;
    std::thread tablet([&] {
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un to{};
        to.sun_family = AF_UNIX;
        std::strncpy(to.sun_path, socketPath.c_str(), sizeof to.sun_path - 1);
        auto send = [&](std::array<uint8_t, 12> r) {
            if (::sendto(fd, r.data(), r.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) != 12)
                ++failedSends;
        };
        send({0x08, 0xE0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
        for (int i = 0; i < kMoves; ++i) {
            const uint32_t x = 4000 + 100 * static_cast<uint32_t>(i), y = 9000;
            send({0x08, 0x80, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), 0, 0, uint8_t(x >> 16),
                  uint8_t(y >> 16), 0, 0});
        }
        send({0x08, 0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        ::close(fd);
    });

    QByteArray out;
    const bool done = nvtest::spin_until(
        [&] {
            out += agent.readAllStandardOutput();
            return out.contains("\"flags\":0}\n");
        },
        10000);
    if (!done)
        agent.kill(); // lets a blocked sender finish
    tablet.join();
    ASSERT_TRUE(done) << out.toStdString();
    // The key holds a modifier: pressed and released as changes of the modifier flags.
    std::vector<double> xs;
    int64_t held = 0;
    bool released = false;
    for (const auto& j : json_lines(out)) {
        if (j.value("hid", 0u) == NVHID_FLAGS_CHANGED) {
            const int64_t flags = j.value("flags", int64_t{0});
            EXPECT_FALSE(released) << "pressed again";
            released = held != 0 && flags == 0;
            held = held ? held : flags;
        }
        if (j.value("event", 0) == NVET_MOUSE_MOVED && j.value("subtype", 0) == NVMST_TABLET_POINT) {
            EXPECT_TRUE(held != 0 && !released) << "a move outside the key's hold: reports reordered";
            EXPECT_EQ(j.value("flags", int64_t{0}), held) << "a move without the held modifier";
            xs.push_back(j["location"][0].get<double>());
        }
    }
    EXPECT_TRUE(released) << out.toStdString();
    ASSERT_EQ(xs.size(), size_t(kMoves)) << "every report of the burst became a move";
    EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()) && std::adjacent_find(xs.begin(), xs.end()) == xs.end())
        << "the moves came in the order sent";
}
