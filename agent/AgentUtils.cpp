#include "agent/AgentUtils.h"

#include "core/log/NVLog.h"
#include "platform/linux/XdgAutostart.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string AgentUtils::daemonPath()
{
    return nv_autostart_path(nvAgentBundleId);
}

std::string AgentUtils::executablePath()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

bool AgentUtils::isDaemon()
{
    const auto program = nv_autostart_program(daemonPath());
    const std::string exe = executablePath();
    return program && !exe.empty() && *program == exe;
}

void AgentUtils::installDaemon()
{
    std::error_code ec;
    if (fs::is_directory(nv_autostart_dir(), ec) && isDaemon())
        return;
    const std::string exe = executablePath();
    // The agent runs on without the entry; the log says why it will not start at login.
    if (exe.empty() || !nv_autostart_write(daemonPath(), nvAgentName, {exe, "-runMode", "autoLaunched"}))
        nv_log("installDaemon: cannot write %s", daemonPath().c_str());
}

void AgentUtils::unInstallDaemon()
{
    std::error_code ec;
    fs::remove(daemonPath(), ec);
}
