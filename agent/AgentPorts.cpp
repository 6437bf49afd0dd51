#include "agent/AgentPorts.h"

#include "agent/DisplayTap.h"
#include "agent/EventPrinter.h"
#include "agent/ProximityTimer.h"
#include "agent/RecordingUsbBus.h"
#include "agent/WorkspaceSelection.h"
#include "core/channel/NVNotificationNames.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/device/NVModelTable.h"
#include "core/events/NVMacFunc.h"
#include "core/log/NVLog.h"
#include "platform/linux/LibusbBus.h"
#include "platform/linux/PosixProcessLauncher.h"
#include "platform/linux/RandrDisplayList.h"
#include "platform/linux/UinputDevices.h"
#include "platform/linux/UinputWindowSystem.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "platform/qt/KWinPenMapping.h"
#include "platform/qt/QtScreenDisplayList.h"
#include "platform/sim/NVRecordingWriter.h"
#include "platform/sim/SimUsbBus.h"

#include <QGuiApplication>
#include <QTimer>

#include <iostream>

namespace {

// What the settings application sends the agent: written to a recording as they come.
constexpr const char* kRecordedNotifications[] = {
    nvNotificationToDriverConfigChanged, nvNotificationToDriverStartCalibrate, nvNotificationToDriverEndCalibrate,
    nvNotificationToDriverQueryTabletInfo, nvNotificationCfgSendByUI,        nvNotificationQueryBatteryPower,
};

std::vector<NVScreenRect> display_bounds(DisplayList& displays)
{
    std::vector<NVDisplayInfo> list;
    std::vector<NVScreenRect> bounds;
    if (displays.activeDisplays(list))
        for (const auto& d : list)
            bounds.push_back(d.bounds);
    return bounds;
}

} // namespace

std::unique_ptr<AgentPorts> AgentPorts::create(const AgentOptions& options, std::string* error)
{
    std::unique_ptr<AgentPorts> p(new AgentPorts);
    p->start_ = p->clock_.now();
    p->openDisplays();
    p->center_ = std::make_unique<DBusNotificationCenter>();
    p->workspace_ = nv_open_workspace(nv_session_env());
    nv_forward_activations(*p->workspace_, p->workspaceCenter_);
    NVMacFunc::setWorkspace(p->workspace_.get());
    p->launcher_ = std::make_unique<PosixProcessLauncher>();
    NVMacFunc::setProcessLauncher(p->launcher_.get());
    p->openWindowSystem(options.printEvents);
    if (!p->openBus(options, error))
        return nullptr;
    if (!options.recordPath.empty() && !p->openRecording(options.recordPath, error))
        return nullptr;
    return p;
}

AgentPorts::~AgentPorts()
{
    NVMacFunc::setWindowSystem(nullptr);
    NVMacFunc::setWorkspace(nullptr);
    NVMacFunc::setProcessLauncher(nullptr);
    for (auto token : recordTokens_)
        center_->removeObserver(token);
    if (activationToken_)
        workspaceCenter_.removeObserver(activationToken_);
}

NVDevServices AgentPorts::services()
{
    UsbBus& bus = recordingBus_ ? static_cast<UsbBus&>(*recordingBus_) : *bus_;
    const bool printing = printsEvents();
    return NVDevServices{bus,
                         *center_,
                         &workspaceCenter_,
                         *displays_,
                         clock_,
                         *windowSystem_,
                         [printing] { return printing || nv_uinput_available(); },
                         {}};
}

NotificationCenter& AgentPorts::center()
{
    return *center_;
}

void AgentPorts::openDisplays()
{
    // A Wayland compositor maps the pen over its layout in logical (scaled) coordinates,
    // which Qt's wayland screens are. XWayland's RandR reports them too on wlroots, but
    // native sizes where the compositor lets X11 programs scale themselves.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        screens_ = std::make_unique<QtScreenDisplayList>();
    else if (auto randr = RandrDisplayList::open())
        screens_ = std::move(randr);
    else
        screens_ = std::make_unique<QtScreenDisplayList>();
    displays_ = std::make_unique<DisplayTap>(*screens_);
}

void AgentPorts::openWindowSystem(bool print)
{
    if (!print) {
        uinput_ = UinputDevices::create();
        if (!uinput_) {
            // UinputDevices has said why; this says what happens instead.
            nv_log("no real input: posted events are printed on standard output");
            print = true;
        }
    }
    if (print) {
        printer_ = std::make_unique<EventPrinter>(std::cout, clock_);
        windowSystem_ = printer_.get();
    } else {
        // KDE Plasma would squeeze the desktop onto one screen.
        kwinPen_ = std::make_unique<KWinPenMapping>(QDBusConnection::sessionBus(), nvUinputPenName);
        uinputWs_ = std::make_unique<UinputWindowSystem>(
            NVUinputFds{uinput_->penFd(), uinput_->pointerFd(), uinput_->keyboardFd()}, *displays_, clock_);
        proximity_ = std::make_unique<ProximityTimer>(*uinputWs_, clock_);
        displays_->addFollower([ws = uinputWs_.get()] { ws->refreshDisplays(); });
        windowSystem_ = proximity_.get();
    }
    NVMacFunc::setWindowSystem(windowSystem_);
}

bool AgentPorts::openBus(const AgentOptions& options, std::string* error)
{
    if (options.simulate) {
        const NVModelInfo* model = options.simulateModel.empty()
                                       ? &nv_maker_models().front()
                                       : nv_model_by_identity(options.simulateModel.c_str());
        if (!model) {
            *error = "unknown model " + options.simulateModel;
            return false;
        }
        auto sim = std::make_unique<SimUsbBus>();
        sim_ = sim.get();
        simLoop_ = std::make_unique<QObject>();
        sim->setWake([this] { QTimer::singleShot(0, simLoop_.get(), [this] { sim_->pump(); }); });
        simDevice_ = sim->attach(SimDeviceScript::forModel(*model));
        nv_log("simulated tablet %s", model->identity);
        bus_ = std::move(sim);
        return true;
    }
    bus_ = LibusbBus::create();
    if (!bus_) {
        // Nothing can be watched: the agent still answers queries, as with a bus that
        // refuses to arm.
        auto none = std::make_unique<SimUsbBus>();
        none->setListenFails(true);
        bus_ = std::move(none);
    }
    return true;
}

bool AgentPorts::openRecording(const std::string& path, std::string* error)
{
    recordFile_.open(path, std::ios::out | std::ios::trunc);
    if (!recordFile_) {
        *error = "cannot write " + path;
        return false;
    }
    writer_ = std::make_unique<NVRecordingWriter>(recordFile_);
    auto now = [this] { return clock_.now() - start_; };
    recordingBus_ = std::make_unique<RecordingUsbBus>(*bus_, *writer_, now);
    writer_->displays(display_bounds(*displays_));
    displays_->addFollower([this] { writer_->displays(display_bounds(*displays_)); });
    for (const char* name : kRecordedNotifications)
        recordTokens_.push_back(center_->observe(name, [this, now](const std::string& n, const NVPlistDict& info) {
            writer_->notification(now(), n, info);
        }));
    activationToken_ = workspaceCenter_.observe(nvWorkspaceDidActivateApplication,
                                                [this, now](const std::string&, const NVPlistDict& info) {
                                                    writer_->activate(now(), nv_plist_string(info, nvKeyApplicationPath));
                                                });
    return true;
}
