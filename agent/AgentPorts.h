// The adapters the agent runs on, chosen from the command line and the machine: the USB
// bus (libusb, or a simulated tablet), the displays (Qt's wayland screens, RandR, else
// Qt's screens), the session bus, the frontmost application (X11, or the Wayland
// desktop's own adapter), program launches, and where input goes (uinput, else JSON lines
// on standard output). Optionally the session is recorded.
#pragma once

#include "agent/AgentOptions.h"
#include "core/channel/NotificationCenter.h"
#include "core/driver/NVDevServices.h"
#include "core/input/Clock.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

class DBusNotificationCenter;
class DisplayTap;
class EventPrinter;
class KWinPenMapping;
class NVRecordingWriter;
class PosixProcessLauncher;
class ProximityTimer;
class QObject;
class RandrDisplayList;
class RecordingUsbBus;
class SimUsbBus;
class UinputDevices;
class UinputWindowSystem;
class UsbBus;
class WindowSystem;
class Workspace;

class AgentPorts {
public:
    // Null, with *error set, when the options cannot be served (an unknown model, a
    // recording file that cannot be created). Needs a QApplication.
    static std::unique_ptr<AgentPorts> create(const AgentOptions& options, std::string* error);
    // Detaches the event synthesis from the adapters.
    ~AgentPorts();
    AgentPorts(const AgentPorts&) = delete;
    AgentPorts& operator=(const AgentPorts&) = delete;

    NVDevServices services();
    NotificationCenter& center();
    const Clock& clock() const { return clock_; }
    // The simulated bus and its tablet; null and 0 on the real bus.
    SimUsbBus* simulatedBus() const { return sim_; }
    int simulatedDevice() const { return simDevice_; }
    bool printsEvents() const { return printer_ != nullptr; }

private:
    AgentPorts() = default;
    bool openBus(const AgentOptions& options, std::string* error);
    void openDisplays();
    void openWindowSystem(bool print);
    bool openRecording(const std::string& path, std::string* error);

    SteadyClock clock_;
    double start_ = 0;
    std::unique_ptr<DisplayList> screens_;
    std::unique_ptr<DisplayTap> displays_;
    std::unique_ptr<DBusNotificationCenter> center_;
    LocalNotificationCenter workspaceCenter_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<PosixProcessLauncher> launcher_;
    std::unique_ptr<UinputDevices> uinput_;
    std::unique_ptr<KWinPenMapping> kwinPen_;
    std::unique_ptr<UinputWindowSystem> uinputWs_;
    std::unique_ptr<ProximityTimer> proximity_;
    std::unique_ptr<EventPrinter> printer_;
    WindowSystem* windowSystem_ = nullptr;
    std::unique_ptr<UsbBus> bus_;
    SimUsbBus* sim_ = nullptr;
    int simDevice_ = 0;
    // Runs the simulated bus's completions on the loop; gone before the bus.
    std::unique_ptr<QObject> simLoop_;
    std::ofstream recordFile_;
    std::unique_ptr<NVRecordingWriter> writer_;
    std::unique_ptr<RecordingUsbBus> recordingBus_;
    std::vector<NotificationCenter::Token> recordTokens_;
    NotificationCenter::Token activationToken_ = 0;
};
