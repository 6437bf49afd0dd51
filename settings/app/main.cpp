// NuvroTablet: the settings application of the tablet driver suite.
#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "settings/logic/NVPrefsToolbar.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/AppDelegate.h"
#include "settings/ui/MainWindowController.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVCalibrationWindow.h"
#include "settings/ui/NVKeyScreenshots.h"
#include "settings/ui/NVKeyLayoutSource.h"
#include "settings/ui/NVKeyboardCapture.h"
#include "settings/ui/NVAppIconLoader.h"
#include "settings/ui/NVTranslations.h"
#include "settings/ui/NVThirdPartAppListController.h"
#include "settings/ui/SettingsWindowController.h"
#include "settings/ui/ViewController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct Options {
    bool simulate = false;      // start the agent with a simulated tablet when none is attached
    QString screenshots;        // write a picture of every tab here, then quit
    bool startupProbe = false;  // print the start-up time once the window shows the tablet, then quit
};

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulate") == 0)
            o.simulate = true;
        else if (std::strcmp(argv[i], "--screenshots") == 0 && i + 1 < argc)
            o.screenshots = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--startup-probe") == 0)
            o.startupProbe = true;
    }
    return o;
}

// Once the tablet shows (or after a while without one), every tab as a PNG, then quit.
void schedule_screenshots(MainWindowController& window, const QString& dir)
{
    QDir().mkpath(dir);
    auto* poll = new QTimer(&window);
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(poll, &QTimer::timeout, &window, [&window, dir, poll, waited] {
        if (!g_ui.bTabletOpened && waited->elapsed() < 3000)
            return;
        poll->stop();
        delete waited;
        ViewController* view = window.viewController();
        const char* state = g_ui.bTabletOpened ? "connected" : "disconnected";
        for (int tag = 0; tag < NVTAB_COUNT; ++tag) {
            view->clickSwitch(tag);
            QCoreApplication::processEvents();
            window.grab().save(QString("%1/%2_%3.png").arg(dir, state, nv_tab_page_id(tag)));
        }
        SettingsWindowController* prefs = SettingsWindowController::showSettingsWindow(0);
        for (const NVPrefsItem& item : nv_prefs_items(nv_app_context().bundle.flavour == NVFlavour::Primary, didNeedUpdate)) {
            prefs->onToolbarItemClick(QString::fromLatin1(item.identifier));
            QCoreApplication::processEvents();
            prefs->grab().save(QString("%1/%2_prefs_%3.png").arg(dir, state, nv_prefs_page_for_tag(item.tag, true)));
        }
        SettingsWindowController::closeSettingsWindow();
        if (g_ui.bTabletOpened)
            nv_key_screenshots(window, *view, dir, state);
        if (g_ui.bTabletOpened) {
            NVThirdPartAppListController* apps = NVThirdPartAppListController::showForMainWindow(&window);
            NVAppIconLoader::waitForDone(5000);
            QCoreApplication::processEvents();
            apps->grab().save(QString("%1/%2_appList.png").arg(dir, state));
            apps->close();
        }
        if (g_ui.bTabletOpened && nv_app_context().bus) {
            auto* calibration = new NVCalibrationWindow(nullptr, *nv_app_context().bus);
            calibration->resize(1280, 800);
            calibration->show();
            calibration->view()->NextPoint(4);
            QCoreApplication::processEvents();
            calibration->grab().save(QString("%1/%2_calibration.png").arg(dir, state));
            calibration->close();
        }
        QApplication::quit();
    });
    poll->start(100);
}

long resident_kib()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line; !(line = status.readLine()).isEmpty();)
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Once the window shows the tablet: the start-up time, the slowest tab switch, the
// resident memory with every tab opened; then quit.
void schedule_startup_probe(MainWindowController& window, const QElapsedTimer& since)
{
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, &since, poll] {
        if (!g_ui.bTabletOpened || !window.isVisible())
            return;
        poll->stop();
        const qint64 shown = since.elapsed();
        qint64 slowestNs = 0;
        for (int round = 0; round < 5; ++round)
            for (int tag = 0; tag < NVTAB_COUNT; ++tag) {
                QElapsedTimer t;
                t.start();
                window.viewController()->clickSwitch(tag);
                window.grab();
                slowestNs = std::max(slowestNs, t.nsecsElapsed());
            }
        std::printf("shown_ms=%lld tab_switch_ms=%.2f rss_kib=%ld\n", static_cast<long long>(shown),
                    static_cast<double>(slowestNs) / 1e6, resident_kib());
        std::fflush(stdout);
        QApplication::quit();
    });
    poll->start(1);
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer since;
    since.start();
    nv_ui_globals_init();
    const Options options = parse(argc, argv);
    nv_log_open("NuvroTablet");

    QApplication app(argc, argv);
    NVAppContext& context = nv_app_context();
    context.resPath = getResPath();
    context.bundle = nv_read_bundle_info(context.resPath);
    nv_install_translator(app, context.resPath);
    NVKeyboardCapture keyCapture;
    NVKeyLayoutSource keyLayouts;

    DBusNotificationCenter bus;
    if (!bus.isConnected())
        nv_log("NuvroTablet: no session bus, the agent cannot be reached");
    NVConfigIO::setNotificationCenter(&bus);
    context.bus = &bus;

    std::vector<std::string> agentArgs;
    if (options.simulate && !nv_vendor_device_attached())
        agentArgs.push_back("--simulate");
    AppDelegate delegate(get_cur_path(), agentArgs);
    context.restarter = &delegate.agent();
    // Listening before the helper is started, so that its first moment on the bus is not missed.
    NVVersionSender versionSender(bus, context.bundle.version);
    QSystemTrayIcon* statusItem = delegate.applicationWillFinishLaunching(&app);

    int rc = 0;
    {
        MainWindowController window(bus);
        window.viewController()->watchAgent(QDBusConnection::sessionBus());
        if (statusItem)
            window.addStatusItemMenu(statusItem);
        window.show();
        if (!options.screenshots.isEmpty())
            schedule_screenshots(window, options.screenshots);
        if (options.startupProbe)
            schedule_startup_probe(window, since);
        QObject::connect(&app, &QCoreApplication::aboutToQuit, [&delegate] { delegate.applicationWillTerminate(); });
        rc = app.exec();
    }
    NVConfigIO::setNotificationCenter(nullptr);
    nv_ui_globals_free();
    return rc;
}
