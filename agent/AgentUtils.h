// The agent's start-at-login entry: an XDG autostart entry named after the agent's
// identifier that runs this executable with "-runMode autoLaunched".
#pragma once

#include <string>

inline constexpr const char* nvAgentBundleId = "nuvroapp.NuvroAgent";
inline constexpr const char* nvAgentName = "NuvroAgent";

class AgentUtils {
public:
    // Writes the entry when it is missing or starts another program.
    static void installDaemon();
    // Removes the entry; a missing entry is no error.
    static void unInstallDaemon();
    // The entry is a regular file whose program is the running executable.
    static bool isDaemon();

    // $XDG_CONFIG_HOME/autostart/nuvroapp.NuvroAgent.desktop
    static std::string daemonPath();
    // The running executable's absolute path; empty when the system does not tell.
    static std::string executablePath();
};
