#include "core/channel/WorkspaceActivation.h"

#include "core/channel/NVNotificationNames.h"

void nv_forward_activations(Workspace& workspace, NotificationCenter& workspaceCenter)
{
    workspace.setActivationHandler([&workspaceCenter](const std::string& appPath) {
        workspaceCenter.post(nvWorkspaceDidActivateApplication, NVPlistDict{{nvKeyApplicationPath, appPath}});
    });
}
