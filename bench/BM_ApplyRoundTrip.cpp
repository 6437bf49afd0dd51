// One Apply of the settings application over the session bus: the whole configuration
// image and the change notification go out; the agent checks and copies the image and
// refreshes its mapping. Budget: 20 ms per Apply.
#if __has_include(<QtDBus/QDBusConnection>)

#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/NVNotificationNames.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// The agent's dispatcher as the driver peer's delegate.
struct AgentSide : NVProtocolNotificationDriverPeer {
    explicit AgentSide(NVDataHandler& h) : handler(h) {}
    void handleConfigChanged() override
    {
        handler.handleConfigChanged();
        ++changes;
    }
    void handleCalibrateStart() override { handler.handleCalibrateStart(); }
    void handleCalibrateEnd() override { handler.handleCalibrateEnd(); }
    void willReplaceConfig() override { handler.resetState(); }

    NVDataHandler& handler;
    int64_t changes = 0;
};

// The session bus, or a daemon of our own when there is none.
class Bus {
public:
    Bus()
    {
        if (QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench-probe").isConnected()) {
            QDBusConnection::disconnectFromBus("bench-probe");
            settings_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench-settings");
            agent_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench-agent");
            return;
        }
        QDBusConnection::disconnectFromBus("bench-probe");
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted(5000))
            return;
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {
        }
        const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
        settings_ = QDBusConnection::connectToBus(address, "bench-settings");
        agent_ = QDBusConnection::connectToBus(address, "bench-agent");
    }
    ~Bus()
    {
        QDBusConnection::disconnectFromBus("bench-settings");
        QDBusConnection::disconnectFromBus("bench-agent");
        daemon_.kill();
        daemon_.waitForFinished(2000);
    }
    bool ok() const { return settings_.isConnected() && agent_.isConnected(); }
    QDBusConnection& settings() { return settings_; }
    QDBusConnection& agent() { return agent_; }

private:
    QProcess daemon_;
    QDBusConnection settings_{"bench-none"};
    QDBusConnection agent_{"bench-none"};
};

void BM_ApplyRoundTrip(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "nuvro-bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);

    Bus bus;
    if (!bus.ok()) {
        state.SkipWithError("no session bus and no dbus-daemon to start");
        return;
    }
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    g_gi.cfg.workarea = {0.0f, 0.0f, 1.0f, 1.0f};
    FakeDisplays displays({{1, {0, 0, 1920, 1080}}, {2, {1920, 0, 1280, 1024}}});
    ManualClock clock;
    auto handler = std::make_unique<NVDataHandler>(displays, clock);
    AgentSide agentSide(*handler);
    {
        DBusNotificationCenter settings(bus.settings());
        DBusNotificationCenter agent(bus.agent());
        NVNotificationDriverPeer peer(&agentSide, agent, nullptr);

        auto cfg = std::make_unique<NVConfig>();
        cfg->workarea = {0.1f, 0.1f, 0.9f, 0.9f};
        cfg->curScreenIndex = 1;
        for (int c = 0; c < NV_CONTEXT_MAX; ++c)
            std::snprintf(cfg->contexts[c].appPath, NV_STR_MAX, "/usr/bin/app%d", c);
        const auto* bytes = reinterpret_cast<const uint8_t*>(cfg.get());

        for (auto _ : state) {
            const int64_t expected = agentSide.changes + 1;
            settings.post(nvNotificationCfgSendByUI, {{nvKeyCfgValFromUI, NVPlistData(bytes, bytes + sizeof(NVConfig))}});
            settings.post(nvNotificationToDriverConfigChanged, {});
            QDeadlineTimer deadline(5000);
            while (agentSide.changes < expected && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            if (agentSide.changes < expected) {
                state.SkipWithError("the agent side did not hear the Apply");
                break;
            }
        }
        if (std::memcmp(&g_gi.cfg, cfg.get(), sizeof(NVConfig)) != 0)
            state.SkipWithError("the agent's record differs from the one sent");
    }
    handler.reset();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ApplyRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

#endif
