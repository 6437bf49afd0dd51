// NuvroHelper: the update helper of the tablet driver suite. The settings application starts
// it; it answers on the session bus and owns a bus name of its own once it listens, so that
// the settings application knows when to send its version, and so that only one runs.
#include "agent/QuitSignals.h"
#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "helper/app/NVDesktopFiles.h"
#include "helper/app/NVUpdateHelper.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "settings/ui/NVAgentLauncher.h"
#include "settings/ui/NVTranslations.h"

#include <QApplication>
#include <QIcon>

#include <cstdlib>

int main(int argc, char** argv)
{
    nv_log_open("NuvroHelper");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QuitSignals quitSignals;
    const std::string resPath = getResPath();
    nv_install_translator(app, resPath);
    QApplication::setWindowIcon(QIcon(QString::fromStdString(resPath + "/res/NUVRO.png")));

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
