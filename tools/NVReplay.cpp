#include "tools/NVReplay.h"

#include "core/channel/NVNotificationNames.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/config/NVConfigIO.h"
#include "core/driver/NVDevUSB.h"
#include "core/events/NVMacFunc.h"
#include "core/events/ProcessLauncher.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/FakeWorkspace.h"
#include "platform/sim/ManualClock.h"
#include "platform/sim/NVPlistJson.h"
#include "platform/sim/RecordingWindowSystem.h"
#include "platform/sim/SimUsbBus.h"
#include "tools/NVReplayConfig.h"
#include "tools/NVReplayLine.h"

#include <cstring>
#include <memory>

namespace {

// The displays until a recording names its own.
const NVDisplayInfo kDefaultDisplay{1, {0, 0, 1920, 1080}};

// The settings application's side of the channel: what the core posts is written out;
// what the recording injects goes straight to the observers and is not echoed.
class EchoingCenter : public NotificationCenter {
public:
    EchoingCenter(const Clock& clock, std::ostream& out) : clock_(clock), out_(out) {}

    void post(const std::string& name, const NVPlistDict& userInfo) override
    {
        nlohmann::ordered_json n{{"name", name}, {"userInfo", nv_plist_to_json(userInfo)}};
        out_ << nlohmann::ordered_json{{"t", clock_.now()}, {"notification", n}}.dump() << '\n';
        inner_.post(name, userInfo);
    }
    Token observe(const std::string& name, Observer observer) override { return inner_.observe(name, observer); }
    void removeObserver(Token token) override { inner_.removeObserver(token); }

    void inject(const std::string& name, const NVPlistDict& userInfo) { inner_.post(name, userInfo); }

private:
    const Clock& clock_;
    std::ostream& out_;
    LocalNotificationCenter inner_;
};

// Programs are never started by a replay.
class NoLauncher : public ProcessLauncher {
public:
    bool spawnDetached(const std::vector<std::string>&) override { return true; }
};

std::string base_name(const std::string& path) { return path.substr(path.rfind('/') + 1); }

class Replay {
public:
    explicit Replay(std::ostream& out)
        : displays_({kDefaultDisplay}), ws_(&clock_, &out), center_(clock_, out),
          usb_(NVDevServices{bus_, center_, &workspaceCenter_, displays_, clock_, ws_, {}, {}})
    {
        nv_forward_activations(workspace_, workspaceCenter_);
        NVMacFunc::setWindowSystem(&ws_);
        NVMacFunc::setWorkspace(&workspace_);
        NVMacFunc::setProcessLauncher(&launcher_);
        NVConfigIO::setNotificationCenter(&center_);
        usb_.listen();
    }

    ~Replay()
    {
        NVConfigIO::setNotificationCenter(nullptr);
        NVMacFunc::setProcessLauncher(nullptr);
        NVMacFunc::setWorkspace(nullptr);
        NVMacFunc::setWindowSystem(nullptr);
    }

    bool play(const NVReplayLine& line, std::string& why)
    {
        if (line.hasTime) {
            if (line.t < clock_.now())
                return fail(why, "\"t\" goes back in time");
            clock_.set(line.t);
        }
        switch (line.kind) {
        case NVReplayLine::Kind::Device:
            if (device_)
                return fail(why, "a device is already plugged in");
            device_ = bus_.attach(line.device);
            return true;
        case NVReplayLine::Kind::Displays:
            displays_.setDisplays(line.displays);
            return true;
        case NVReplayLine::Kind::Cfg:
            return applyCfg(line, why);
        case NVReplayLine::Kind::Report:
            if (!device_)
                return fail(why, "a report without a device");
            bus_.sendReport(device_, line.bytes.data(), line.bytes.size());
            return true;
        case NVReplayLine::Kind::Notification:
            center_.inject(line.name, line.userInfo);
            return true;
        case NVReplayLine::Kind::Activate:
            workspace_.activate(line.appPath, base_name(line.appPath));
            return true;
        case NVReplayLine::Kind::Unplug:
            if (!device_)
                return fail(why, "an unplug without a device");
            bus_.detach(device_);
            device_ = 0;
            return true;
        }
        return true;
    }

    // What the bus completes on the loop (a released layer) happens before the next line.
    void settle() { bus_.pump(); }

private:
    static bool fail(std::string& why, const char* text)
    {
        why = text;
        return false;
    }

    // As an Apply of the settings application: the whole record, then the change.
    bool applyCfg(const NVReplayLine& line, std::string& why)
    {
        auto cfg = std::make_unique<NVConfig>();
        std::memcpy(cfg.get(), &g_gi.cfg, sizeof(NVConfig));
        if (!nv_replay_apply_cfg(line.cfg, *cfg, g_gi.ti, why))
            return false;
        const auto* bytes = reinterpret_cast<const uint8_t*>(cfg.get());
        center_.inject(nvNotificationCfgSendByUI,
                       NVPlistDict{{nvKeyCfgValFromUI, NVPlistData(bytes, bytes + sizeof(NVConfig))}});
        center_.inject(nvNotificationToDriverConfigChanged, {});
        return true;
    }

    ManualClock clock_;
    FakeDisplays displays_;
    FakeWorkspace workspace_;
    RecordingWindowSystem ws_;
    NoLauncher launcher_;
    EchoingCenter center_;
    LocalNotificationCenter workspaceCenter_;
    SimUsbBus bus_;
    NVDevUSB usb_;
    int device_ = 0;
};

} // namespace

bool nv_replay(std::istream& recording, std::ostream& out, std::string& error)
{
    Replay replay(out);
    std::string text;
    for (int number = 1; std::getline(recording, text); ++number) {
        if (text.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        NVReplayLine line;
        std::string why;
        if (!nv_parse_replay_line(text, line, why) || !replay.play(line, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        replay.settle();
    }
    return true;
}
