// The suite's other programs as the settings application sees them: started detached
// from its own folder when none runs, and the agent ended in order for a restart.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "settings/logic/NVImport.h"

#include <QDBusConnection>
#include <QObject>

#include <string>
#include <vector>

// The helper owns this name on the session bus once it listens for notifications.
inline constexpr const char* nvHelperBusName = "nuvroapp.NuvroHelper";

// A process of that command name runs.
bool nv_program_running(const char* name);
// Starts binDir/name with args, detached. A missing program is one log line and false.
bool nv_launch_program(const std::string& binDir, const char* name, const std::vector<std::string>& args);
// A USB device of the tablets' vendor is attached (sysUsbDevices: /sys/bus/usb/devices).
bool nv_vendor_device_attached(const std::string& sysUsbDevices = "/sys/bus/usb/devices");

enum class NVStopped { Gone, Terminated, Killed };
// Asks the process to quit with SIGTERM (the agent's orderly shutdown lets go of every
// held key and the tablet); only when it is still there after graceMs, SIGKILL.
NVStopped nv_stop_process(int pid, int graceMs);

class NVAgentControl : public NVAgentRestarter {
public:
    NVAgentControl(std::string binDir, std::vector<std::string> args, int graceMs = 3000)
        : binDir_(std::move(binDir)), args_(std::move(args)), graceMs_(graceMs)
    {
    }
    // Starts the agent when none runs.
    void launchIfMissing();
    // Ends every running agent in order, then starts one, retrying a failed start.
    void restartAgent() override;

private:
    std::string binDir_;
    std::vector<std::string> args_;
    int graceMs_;
};

// Tells the helper the installed version ("CurrentVerisonNotification", "v" and the version),
// so that it checks for an update without a user action: at once when a helper already
// listens, and again each time a helper starts listening, whoever started it.
class NVVersionSender : public QObject {
public:
    NVVersionSender(NotificationCenter& bus, std::string version,
                    const QDBusConnection& connection = QDBusConnection::sessionBus());

    void sendVersion();

private:
    NotificationCenter& bus_;
    std::string version_;
};
