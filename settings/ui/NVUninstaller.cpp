#include "settings/ui/NVUninstaller.h"

#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "platform/linux/XdgAutostart.h"
#include "settings/logic/NVBundle.h"
#include "settings/logic/NVPlistFile.h"
#include "settings/logic/NVRemovalPlan.h"
#include "settings/logic/NVUserDefaults.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>

namespace fs = std::filesystem;

NVCommandResult nv_run_privileged(const std::string& binDir, std::span<const NVPrivilegedOp> ops)
{
    NVCommandResult result;
    if (ops.empty()) {
        result.ok = true;
        result.exitCode = 0;
        return result;
    }
    std::vector<std::string> argv = nv_privileged_command(binDir + "/nuvro-remove", ops);
    const QString fake = QProcessEnvironment::systemEnvironment().value("NV_PKEXEC");
    if (!fake.isEmpty())
        argv.front() = fake.toStdString();
    QStringList args;
    for (size_t i = 1; i < argv.size(); ++i)
        args << QString::fromStdString(argv[i]);
    const QString program = QString::fromStdString(argv.front());
    result.command = (QStringList{program} + args).join(' ');

    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    p.start();
    if (!p.waitForStarted(10000)) {
        nv_log("uninstall: %s could not be started", result.command.toUtf8().constData());
        return result;
    }
    // The user answers the authorisation dialog meanwhile.
    p.waitForFinished(-1);
    result.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    result.ok = result.exitCode == 0;
    if (!result.ok)
        nv_log("uninstall: %s ended with status %d", result.command.toUtf8().constData(), result.exitCode);
    return result;
}

bool nv_execute_uninstall(const QString& installPath)
{
    NVRemovalContext ctx;
    ctx.userAutostartDir = nv_autostart_dir();
    ctx.userDataDir = nv_config_user_dir();
    ctx.bundlePath = nv_bundle_path();
    ctx.tabletDriverPath = nv_read_tablet_driver_path(ctx.userDataDir);
    const NVRemovalPlan plan = nv_uninstall_plan(NVFsProbe(), ctx);

    bool ok = nv_run_privileged(get_cur_path(), plan.privileged).ok;
    for (const std::string& path : plan.userPaths) {
        std::error_code ec;
        fs::remove_all(path, ec);
        if (ec) {
            nv_log("uninstall: cannot remove %s: %s", path.c_str(), ec.message().c_str());
            ok = false;
        }
    }
    // The hotkey stays while the driver it opens could not be removed.
    if (ok && !NVUserDefaults(nvSuiteNuvroTablet).remove(nvKeyOpenDriver))
        ok = false;
    if (!installPath.isEmpty() && !QProcess::startDetached("xdg-open", {installPath})) {
        nv_log("uninstall: cannot open %s", installPath.toUtf8().constData());
        ok = false;
    }
    return ok;
}
