#include "core/channel/WorkspaceActivation.h"

#include "core/channel/NVNotificationNames.h"

namespace {

std::string& last_activated()
{
    static std::string path;
    return path;
}

} // namespace

const std::string& nv_last_activated_application()
{
    return last_activated();
}

void nv_forward_activations(Workspace& workspace, NotificationCenter& workspaceCenter)
{
    workspace.setActivationHandler([&workspaceCenter](const std::string& appPath) {
        last_activated() = appPath;
        workspaceCenter.post(nvWorkspaceDidActivateApplication, NVPlistDict{{nvKeyApplicationPath, appPath}});
    });
}
