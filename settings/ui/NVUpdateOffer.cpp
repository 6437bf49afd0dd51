#include "settings/ui/NVUpdateOffer.h"

#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVBundle.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAgentLauncher.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"

bool nv_check_for_updates(QWidget* parent, NotificationCenter* bus)
{
    if (!nv_program_running(nvHelperName)) {
        const std::string& binDir = nv_app_context().binDir;
        nv_launch_program(binDir.empty() ? get_cur_path() : binDir, nvHelperName, {});
    }
    if (!didNeedUpdate) {
        nv_alert(parent, {qtTrId("str_M_prompt"), qtTrId("str_SET_updateInfo"), {qtTrId("str_M_ok")}});
        return false;
    }
    if (nv_alert(parent, {qtTrId("str_SET_updateMessage"), qtTrId("str_SET_updateInfoText"),
                          {qtTrId("str_SET_updateNow"), qtTrId("str_M_cancel")}}) != 0) {
        nv_log("update: later");
        return false;
    }
    if (bus)
        bus->post(nvNotificationConfirmUpdate, {{nvKeyConfirmMessage, NVPlistValue(std::string("YES"))}});
    return true;
}
