// A window activated on KWin, or focused on GNOME Shell, until the agent's context follows:
// the KWin script's call or the shell extension's signal passes a session bus daemon, the
// adapter looks up the process's program and the driver peer matches it against the
// contexts. Budget: 5 ms from the compositor's event.
#if __has_include(<QtDBus/QDBusConnection>)

#include "bench/BenchApp.h"
#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/qt/GnomeShellWorkspace.h"
#include "platform/qt/KWinWorkspace.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

class Daemon {
public:
    Daemon()
    {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~Daemon()
    {
        daemon_.kill();
        daemon_.waitForFinished(2000);
    }
    QDBusConnection connect(const QString& name) { return QDBusConnection::connectToBus(address_, name + address_); }
    bool ok() const { return !address_.isEmpty(); }

private:
    QProcess daemon_;
    QString address_;
};

// The compositor's side of the bus: KWin's scripting interface, whose script loads and
// runs, or the shell extension, whose focus is the parent process.
class FakeCompositor : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& c) override
    {
        if (m.member() == "loadScript")
            return c.send(m.createReply(QVariant(0)));
        if (m.member() == "unloadScript")
            return c.send(m.createReply(QVariant(false)));
        if (m.member() == "run")
            return c.send(m.createReply());
        if (m.member() == "Current") {
            asked = true;
            return c.send(m.createReply({uint(getppid()), QString("x")}));
        }
        return false;
    }
    bool asked = false;
};

// Two programs: a child, which has a context of its own, and the parent of this one (the
// adapters leave windows of their own process aside).
void follow(benchmark::State& state, Workspace& ws, const std::function<void(int32_t pid)>& activate)
{
    QProcess child;
    child.start("sleep", {"600"});
    if (!child.waitForStarted(5000)) {
        state.SkipWithError("no child process");
        return;
    }
    const auto childPid = int32_t(child.processId());
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    std::strcpy(g_gi.cfg.contexts[1].appPath,
                std::filesystem::read_symlink("/proc/" + std::to_string(childPid) + "/exe").c_str());
    LocalNotificationCenter center, workspaceCenter;
    nv_forward_activations(ws, workspaceCenter);
    NVNotificationDriverPeer peer(nullptr, center, &workspaceCenter);
    const int32_t pids[] = {childPid, int32_t(getppid())};
    int next = 0;
    for (auto _ : state) {
        activate(pids[next]);
        const int want = next == 0 ? 1 : 0;
        while (currentAppIndex_kernel != want)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        next = 1 - next;
    }
    child.kill();
    child.waitForFinished(2000);
}

void BM_KWinActivationToContextSwitch(benchmark::State& state)
{
    nv_bench_app();
    Daemon bus;
    if (!bus.ok()) {
        state.SkipWithError("no dbus-daemon");
        return;
    }
    QDBusConnection kwin = bus.connect("bench-kwin");
    FakeCompositor scripting;
    kwin.registerVirtualObject("/", &scripting, QDBusConnection::SubPath);
    kwin.registerService("org.kde.KWin");
    QDBusConnection agent = bus.connect("bench-agent");
    auto ws = KWinWorkspace::open("/dev/null", agent);
    if (!ws) {
        state.SkipWithError("the adapter did not open");
        return;
    }
    follow(state, *ws, [&](int32_t pid) {
        auto call = QDBusMessage::createMethodCall(agent.baseService(), nvKWinWorkspacePath,
                                                   "nuvroapp.NuvroAgent.Workspace", "windowActivated");
        call.setArguments({int(pid), QString("x")});
        call.setAutoStartService(false);
        kwin.send(call);
    });
}
BENCHMARK(BM_KWinActivationToContextSwitch)->Unit(benchmark::kMicrosecond);

void BM_GnomeFocusToContextSwitch(benchmark::State& state)
{
    nv_bench_app();
    Daemon bus;
    if (!bus.ok()) {
        state.SkipWithError("no dbus-daemon");
        return;
    }
    QDBusConnection shell = bus.connect("bench-shell");
    FakeCompositor extension;
    shell.registerVirtualObject(nvGnomeFocusPath, &extension);
    shell.registerService("org.gnome.Shell");
    shell.registerService(nvGnomeFocusService);
    auto ws = GnomeShellWorkspace::open(bus.connect("bench-agent"));
    if (!ws) {
        state.SkipWithError("the adapter did not open");
        return;
    }
    // The adapter asks after it has subscribed to the signal: from then on the bus
    // delivers the signal to it.
    while (!extension.asked)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    follow(state, *ws, [&](int32_t pid) {
        auto signal = QDBusMessage::createSignal(nvGnomeFocusPath, nvGnomeFocusInterface, "Changed");
        signal.setArguments({uint(pid), QString("x")});
        shell.send(signal);
    });
}
BENCHMARK(BM_GnomeFocusToContextSwitch)->Unit(benchmark::kMicrosecond);

} // namespace

#endif
