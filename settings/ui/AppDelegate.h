// Start and end of the settings application: its data folder and user file, the agent
// and the helper, the status item, and the user file saved on quit.
#pragma once

#include "settings/ui/NVAgentLauncher.h"

#include <memory>
#include <string>

class QObject;
class QSystemTrayIcon;

class AppDelegate {
public:
    // binDir: where the suite's programs are. agentArgs: what the agent is started with.
    AppDelegate(std::string binDir, std::vector<std::string> agentArgs);

    // Before the first window: data folder, user file, agent and helper, the open-driver
    // hotkey (the box about a taken one) and status item (primary flavour),
    // tabletSettings.plist. owner keeps the status item, returned
    // (null for the other flavours).
    QSystemTrayIcon* applicationWillFinishLaunching(QObject* owner);
    // Saves the configuration being edited to the user file, when a tablet is open.
    void applicationWillTerminate();

    NVAgentControl& agent() { return agent_; }

private:
    std::string binDir_;
    NVAgentControl agent_;
};
