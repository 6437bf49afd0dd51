// Notifications as they reach the agent: through the real driver peer, with the
// dispatcher as its delegate, on an in-process centre. Any name, known or not, with
// values of any type and size; configuration blobs of any size, among them whole
// records of exactly the right size with hostile contents. Reports in between show what
// an accepted record does to the input path.
//
// Input: byte 0 picks the tablet model; then records until the input runs out. A record
// is an operation byte (a report, or a notification whose name is one of the known ones
// or arbitrary text) followed by what it needs; bytes missing at the end read as zero.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigIO.h"
#include "core/device/libCross/nvParse.h"
#include "core/events/NVMacFunc.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVGlobalInfo.h"
#include "fuzz/FuzzSupport.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"
#include "platform/sim/RecordingWindowSystem.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr std::array kNames = {
    nvNotificationToDriverConfigChanged, nvNotificationToDriverStartCalibrate,
    nvNotificationToDriverEndCalibrate,  nvNotificationToDriverQueryTabletInfo,
    nvNotificationToUITabletInfo,        nvNotificationToUIConfigChanged,
    nvNotificationToUIPenData,           nvNotificationContextMEkeyChanged,
    nvNotificationResetCurrentAppIndex,  nvNotificationCfgSendByUI,
    nvNotificationQueryBatteryPower,     nvNotificationRemovedApp,
    nvWorkspaceDidActivateApplication,
};

constexpr std::array kKeys = {
    nvKeyCfgValFromUI, nvKeyApplicationPath, nvKeyCurrentPower, nvKeyDevType,   nvKeySDevVer,
    nvKeyMuxIndex,     nvKeyNameArray,       nvKeyPenX,         nvKeyPenPressure,
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

    bool done() const { return p_ >= end_; }
    uint8_t byte() { return p_ < end_ ? *p_++ : 0; }
    uint32_t number(int bytes)
    {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = v << 8 | byte();
        return v;
    }
    std::string text() { return chunk(byte()); }
    std::string chunk(size_t n)
    {
        const size_t take = std::min<size_t>(n, end_ - p_);
        std::string s(reinterpret_cast<const char*>(p_), take);
        p_ += take;
        return s;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// The model's default record, loaded once per model.
const NVConfig& default_config(const NVTabletInfo& ti)
{
    static std::map<uint32_t, std::unique_ptr<NVConfig>> loaded;
    std::unique_ptr<NVConfig>& cfg = loaded[ti.devType];
    if (!cfg) {
        cfg = std::make_unique<NVConfig>();
        NVConfigIO::readXml({}, cfg.get(), &ti);
    }
    return *cfg;
}

NVPlistData config_blob(Input& in, const NVTabletInfo& ti)
{
    const auto* whole = reinterpret_cast<const uint8_t*>(&default_config(ti));
    switch (in.byte() % 4) {
    case 0: { // the model's record with bytes overwritten anywhere
        NVPlistData d(whole, whole + sizeof(NVConfig));
        for (int n = in.byte() % 16; n > 0; --n)
            d[in.number(3) % d.size()] = in.byte();
        return d;
    }
    case 1: { // exactly a record's size, filled with a repeated pattern
        const std::string pattern = in.text();
        NVPlistData d(sizeof(NVConfig));
        for (size_t i = 0; !pattern.empty() && i < d.size(); ++i)
            d[i] = static_cast<uint8_t>(pattern[i % pattern.size()]);
        return d;
    }
    case 2: { // a few bytes short of or beyond a record
        NVPlistData d(whole, whole + sizeof(NVConfig));
        d.resize(sizeof(NVConfig) + (in.byte() % 9) - 4);
        return d;
    }
    default: { // any small size
        const std::string s = in.chunk(in.number(2));
        return NVPlistData(s.begin(), s.end());
    }
    }
}

NVPlistDict dict(Input& in, const NVTabletInfo& ti, int depth);

NVPlistValue value(Input& in, const NVTabletInfo& ti, int depth)
{
    switch (in.byte() % 6) {
    case 0:
        return {};
    case 1:
        return in.text();
    case 2:
        return static_cast<int32_t>(in.number(4));
    case 3: {
        NVPlistStrings strings(in.byte() % 4);
        for (std::string& s : strings)
            s = in.text();
        return strings;
    }
    case 4:
        return config_blob(in, ti);
    default:
        return depth < 2 ? NVPlistValue(dict(in, ti, depth + 1)) : NVPlistValue();
    }
}

NVPlistDict dict(Input& in, const NVTabletInfo& ti, int depth)
{
    NVPlistDict d;
    for (int n = in.byte() % 4; n > 0; --n) {
        const uint8_t k = in.byte();
        std::string key = k < kKeys.size() * 16 ? kKeys[k % kKeys.size()] : in.text();
        d[std::move(key)] = value(in, ti, depth);
    }
    return d;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    nvfuzz::use_private_config_home();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    g_gi.ti = nvfuzz::model_tablet(in.byte());
    std::memcpy(&g_gi.cfg, &default_config(g_gi.ti), sizeof(NVConfig));
    g_gi.bCalibrating = 0;
    NVDataHandler::sendEKey_clickState = 0;
    NVDataHandler::sendEKey_lastTime = 0;
    NVDataHandler::sendEKey_bEraser = false;

    FakeDisplays displays({{1, {0, 0, 1920, 1080}}, {2, {1920, 0, 1280, 1024}}});
    ManualClock clock;
    RecordingWindowSystem ws(&clock);
    NVMacFunc::setWindowSystem(&ws);
    LocalNotificationCenter center;
    LocalNotificationCenter workspaceCenter;
    {
        NVDataHandler handler(displays, clock, &center, &workspaceCenter);
        while (!in.done()) {
            const uint8_t op = in.byte();
            if (op % 4 == 0) {
                uint8_t r[NV_REPORT_SIZE];
                for (uint8_t& b : r)
                    b = in.byte();
                r[0] = 8;
                clock.advance(0.01 * (op >> 4));
                handler.handleData(r);
                continue;
            }
            const uint8_t pick = in.byte();
            const std::string name = pick < kNames.size() * 16 ? kNames[pick % kNames.size()] : in.text();
            const NVPlistDict info = dict(in, g_gi.ti, 0);
            (name == nvWorkspaceDidActivateApplication ? workspaceCenter : center).post(name, info);
        }
        handler.resetState();
    }
    NVMacFunc::resetState();
    NVMacFunc::setWindowSystem(nullptr);
    return 0;
}
