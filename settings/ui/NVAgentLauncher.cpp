#include "settings/ui/NVAgentLauncher.h"

#include "core/log/NVLog.h"
#include "platform/linux/PosixProcessLauncher.h"
#include "platform/linux/ProcessList.h"

#include "core/channel/NVNotificationNames.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kAgentName = "NuvroAgent";
constexpr int kLaunchAttempts = 3;
constexpr int kPollMs = 20;

bool wait_gone(int pid, int ms)
{
    const NVProcFsTable processes;
    for (int waited = 0; waited <= ms; waited += kPollMs) {
        if (!processes.running(pid))
            return true;
        QThread::msleep(kPollMs);
    }
    return !processes.running(pid);
}

std::vector<int32_t> pids_of(const char* name)
{
    int32_t pids[NV_PID_CAPACITY];
    size_t count = 0;
    const int rc = GetAllPIDsForProcessName(NVProcFsTable(), name, pids, NV_PID_CAPACITY, &count, nullptr);
    return rc == NVPID_FOUND ? std::vector<int32_t>(pids, pids + count) : std::vector<int32_t>();
}

} // namespace

bool nv_program_running(const char* name)
{
    return !pids_of(name).empty();
}

bool nv_launch_program(const std::string& binDir, const char* name, const std::vector<std::string>& args)
{
    const std::string program = binDir + "/" + name;
    std::error_code ec;
    if (!fs::is_regular_file(program, ec)) {
        nv_log("launch: %s is missing, not started", program.c_str());
        return false;
    }
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    if (PosixProcessLauncher().spawnDetached(argv))
        return true;
    nv_log("launch: %s could not be started", program.c_str());
    return false;
}

bool nv_vendor_device_attached(const std::string& sysUsbDevices)
{
    std::error_code ec;
    for (const auto& dev : fs::directory_iterator(sysUsbDevices, ec)) {
        std::ifstream in(dev.path() / "idVendor");
        std::string vendor;
        if (in >> vendor && vendor == "3a7e")
            return true;
    }
    return false;
}

NVStopped nv_stop_process(int pid, int graceMs)
{
    if (pid <= 0 || ::kill(pid, SIGTERM) != 0)
        return NVStopped::Gone;
    if (wait_gone(pid, graceMs))
        return NVStopped::Terminated;
    nv_log("stop: process %d did not quit within %d ms, killing it", pid, graceMs);
    ::kill(pid, SIGKILL);
    wait_gone(pid, graceMs);
    return NVStopped::Killed;
}

void NVAgentControl::launchIfMissing()
{
    if (!nv_program_running(kAgentName))
        nv_launch_program(binDir_, kAgentName, args_);
}

void NVAgentControl::restartAgent()
{
    for (int32_t pid : pids_of(kAgentName))
        if (nv_stop_process(pid, graceMs_) != NVStopped::Gone)
            nv_log("driver terminate");
    for (int attempt = 0; attempt < kLaunchAttempts; ++attempt) {
        if (nv_launch_program(binDir_, kAgentName, args_))
            return;
        QThread::msleep(200);
    }
}

NVVersionSender::NVVersionSender(NotificationCenter& bus, std::string version, const QDBusConnection& connection)
    : bus_(bus), version_(std::move(version))
{
    auto* watcher = new QDBusServiceWatcher(nvHelperBusName, connection, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &NVVersionSender::sendVersion);
    if (connection.interface() && connection.interface()->isServiceRegistered(nvHelperBusName))
        sendVersion();
}

void NVVersionSender::sendVersion()
{
    bus_.post(nvNotificationCurrentVersion, {{nvKeyCurrentVersion, NVPlistValue("v" + version_)}});
}
