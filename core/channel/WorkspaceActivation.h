// The workspace reports activations to one handler; this re-posts them on an in-process
// centre so that any number of observers can follow them and leave again.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "core/channel/Workspace.h"

// Every activation of workspace is posted on workspaceCenter as
// nvWorkspaceDidActivateApplication with the path under nvKeyApplicationPath.
// workspaceCenter must outlive workspace's use of the handler.
void nv_forward_activations(Workspace& workspace, NotificationCenter& workspaceCenter);

// The path of the latest activation forwarded in this process; empty before the first. A
// configuration loaded later is matched against it, so the frontmost application's context
// applies without waiting for the next change of window.
const std::string& nv_last_activated_application();
