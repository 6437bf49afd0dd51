// NuvroAgent: the tablet driver of the desktop session. One per user: it leaves at once,
// with status 0, when an older driver program or another agent runs.
#include "agent/AgentOptions.h"
#include "agent/AgentPorts.h"
#include "agent/AgentUtils.h"
#include "agent/AppDelegate.h"
#include "agent/QuitSignals.h"
#include "agent/ReportFeed.h"
#include "agent/SelfTest.h"
#include "core/input/Clock.h"
#include "core/log/NVLog.h"
#include "platform/linux/ProcessList.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// The driver program of earlier releases; it must not run beside the agent.
constexpr const char* kOlderDriver = "NuvroTabletConsole";

// Says when the watcher was armed, feeds the reports once the loop runs, prints the
// figures and quits.
void schedule_self_test(AgentPorts& ports, long reports, double startSeconds, double armedSeconds)
{
    std::printf("armed_ms=%.1f\n", (armedSeconds - startSeconds) * 1e3);
    std::fflush(stdout);
    QTimer::singleShot(0, [&ports, reports] {
        const double begin = ports.clock().now();
        nv_self_test_strokes(*ports.simulatedBus(), ports.simulatedDevice(), reports);
        const double elapsed = ports.clock().now() - begin;
        std::printf("reports=%ld reports_ms=%.1f rss_kib=%ld\n", reports, elapsed * 1e3, nv_resident_kib());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

// The tablet's reports wake the loop a thousand times a second: Qt's own UNIX event
// dispatcher handles a wake-up for less than glib's. It is chosen through Qt's variable,
// unless the session set that variable itself (set and empty keeps glib's), and the
// variable is taken away again so that programs the agent launches never see it.
class UnixEventDispatcher {
public:
    UnixEventDispatcher() : chosen_(!qEnvironmentVariableIsSet(kVariable))
    {
        if (chosen_)
            qputenv(kVariable, "1");
    }
    // Once the application exists its dispatcher is made.
    void restore() const
    {
        if (chosen_)
            qunsetenv(kVariable);
    }

private:
    static constexpr const char* kVariable = "QT_NO_GLIB";
    bool chosen_;
};

} // namespace

int main(int argc, char** argv)
{
    const double startSeconds = SteadyClock().now();
    const NVProcFsTable processes;
    if (checkProcessIsRunning(processes, kOlderDriver)) {
        std::printf("Other %s running ,exit\n", kOlderDriver);
        return 0;
    }
    if (checkProcessIsRunning(processes, nvAgentName)) {
        std::printf("Other %s running ,exit\n", nvAgentName);
        return 0;
    }

    std::string error;
    const auto options = nv_agent_options(argc, argv, &error);
    if (!options) {
        std::fprintf(stderr, "NuvroAgent: %s\n", error.c_str());
        return 2;
    }
    nv_log_open(nvAgentName);
    nv_log_set_echo(options->foreground);

    const UnixEventDispatcher unixDispatcher;
    QApplication app(argc, argv);
    unixDispatcher.restore();
    // A faded tip is only hidden; nothing the agent shows may end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // Quit, SIGTERM and SIGINT all end through aboutToQuit below.
    QuitSignals quitSignals;

    auto ports = AgentPorts::create(*options, &error);
    if (!ports) {
        std::fprintf(stderr, "NuvroAgent: %s\n", error.c_str());
        return 2;
    }
    AppDelegate delegate(*ports);
    delegate.applicationDidFinishLaunching();
    const double armedSeconds = ports->clock().now();
    if (options->selfTestReports >= 0)
        schedule_self_test(*ports, options->selfTestReports, startSeconds, armedSeconds);
    if (options->selfTestHold)
        QTimer::singleShot(0, [&ports] {
            nv_self_test_hold(*ports->simulatedBus(), ports->simulatedDevice());
            std::printf("held\n");
            std::fflush(stdout);
        });
    std::unique_ptr<ReportFeed> feed;
    if (options->feedReports)
        feed = std::make_unique<ReportFeed>(STDIN_FILENO, *ports->simulatedBus(), ports->simulatedDevice());
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&delegate] { delegate.applicationWillTerminate(); });
    return app.exec();
}
