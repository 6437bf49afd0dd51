#include "settings/ui/AppDelegate.h"

#include "core/config/NVConfigIO.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVPlistFile.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/HotkeysUtil.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NuvroMessageBox.h"
#include "settings/ui/NuvroUtils.h"

#include <filesystem>

namespace fs = std::filesystem;

AppDelegate::AppDelegate(std::string binDir, std::vector<std::string> agentArgs)
    : binDir_(binDir), agent_(std::move(binDir), std::move(agentArgs))
{
}

QSystemTrayIcon* AppDelegate::applicationWillFinishLaunching(QObject* owner)
{
    const std::string dataDir = nv_config_user_dir();
    std::error_code ec;
    if (!fs::is_directory(dataDir, ec)) {
        fs::create_directories(dataDir, ec);
        nv_log(" create NuvroTablet in %s ", dataDir.c_str());
    }
    const std::string user = getConfigUserFullPath();
    if (!fs::exists(user, ec)) {
        if (fs::copy_file(nv_config_default_path(), user, ec))
            nv_log("success to copy config_user.xml to %s", user.c_str());
        else
            nv_log("fail to config_user.xml to %s", user.c_str());
    }
    agent_.launchIfMissing();
    if (!nv_program_running(nvHelperName))
        nv_launch_program(binDir_, nvHelperName, {});
    if (g_USER_DEBUG)
        nv_log("processInfo:%s", nvSettingsName);
    QSystemTrayIcon* statusItem = nullptr;
    if (nv_flavour_traits(nv_app_context().bundle.flavour).hotkeysAndStatusItem) {
        HotkeysUtil::registerOpenDriverHotkeys();
        if (HotkeysUtil::hasExclusionShortcut())
            NuvroMessageBox::ShowHotkeysRegisteredWindow();
        statusItem = NuvroUtils::addStatusBarItem(owner);
    }
    if (nv_write_tablet_driver_path(dataDir, nv_bundle_path()))
        nv_log(" plist saved success %s ", nv_tablet_settings_path(dataDir).c_str());
    return statusItem;
}

void AppDelegate::applicationWillTerminate()
{
    // Without a tablet nothing was read into the record: saving it would overwrite the
    // user's file with an empty configuration.
    if (!g_ui.bTabletOpened)
        return;
    NVConfigIO::saveNVConfig(&g_ui.cfg, std::string(), &g_ui.ti);
}
