// NuvroHelper: the update helper of the tablet driver suite. The settings application starts
// it; it answers on the session bus and owns a bus name of its own once it listens, so that
// the settings application knows when to send its version, and so that only one runs.
// With --screenshots DIR it only draws its alerts there.
#include "agent/QuitSignals.h"
#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "helper/app/NVDesktopFiles.h"
#include "helper/app/NVUpdateHelper.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "settings/ui/NVAgentLauncher.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVTranslations.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace {

// The helper's two alerts as pictures in dir: each is grabbed and closed once shown.
void screenshots(const QString& dir)
{
    QDir().mkpath(dir);
    const std::pair<const char*, NVAlert> alerts[] = {{"helper_installPrompt", nv_install_prompt()},
                                                      {"helper_quitAlert", nv_quit_alert()}};
    for (const auto& [name, alert] : alerts) {
        QTimer::singleShot(300, [&dir, name = name] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->grab().save(QString("%1/%2.png").arg(dir, name));
                box->close();
            }
        });
        nv_alert(nullptr, alert);
    }
}

} // namespace

int main(int argc, char** argv)
{
    nv_log_open("NuvroHelper");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QuitSignals quitSignals;
    const std::string resPath = getResPath();
    nv_install_translator(app, resPath);
    QApplication::setWindowIcon(QIcon(QString::fromStdString(resPath + "/res/NUVRO.png")));
    if (argc == 3 && std::strcmp(argv[1], "--screenshots") == 0) {
        screenshots(QString::fromLocal8Bit(argv[2]));
        return 0;
    }

    DBusNotificationCenter bus;
    if (!bus.isConnected()) {
        nv_log("NuvroHelper: no session bus, nothing to answer");
        return 1;
    }
    NVUpdateHelper helper(bus, nv_read_update_server(resPath, std::getenv(nvUpdateServerEnv)), nv_downloads_folder);
    if (!QDBusConnection::sessionBus().registerService(nvHelperBusName)) {
        nv_log("NuvroHelper: another helper already answers on the bus");
        return 0;
    }
    const int rc = app.exec();
    helper.applicationWillTerminate();
    return rc;
}
