#include "tests/driver/DeviceAccessFixture.h"

#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "core/events/NVMacFunc.h"
#include "core/model/NVGlobalInfo.h"
#include "core/model/NVLayoutAlloc.h"
#include "tests/input/InputTestSupport.h"

#include <cstring>

namespace nvtest {

PostLog::PostLog(NotificationCenter& center, std::vector<std::string> names)
{
    for (const std::string& name : names)
        center.observe(name, [this](const std::string& n, const NVPlistDict& info) { posts_.emplace_back(n, info); });
}

std::vector<NVPlistDict> PostLog::of(const std::string& name) const
{
    std::vector<NVPlistDict> out;
    for (const auto& [n, info] : posts_)
        if (n == name)
            out.push_back(info);
    return out;
}

DeviceAccessTest::DeviceAccessTest()
    : posts(center, {nvNotificationToUITabletInfo, nvNotificationQueryBatteryPowerForUI})
{
    nv_set_res_path(resources_dir().string());
    free_NVTabletLayout(&g_gi.tabletLayout);
    reset_globals(0, 0);
    std::memset(&g_gi.ti, 0, sizeof g_gi.ti);
    g_gi.hidConnect = 0;
    reset_input_statics();
    NVMacFunc::setWindowSystem(&ws);
    clock.set(100.0);
}

DeviceAccessTest::~DeviceAccessTest()
{
    usb.reset();
    NVMacFunc::setWindowSystem(nullptr);
    free_NVTabletLayout(&g_gi.tabletLayout);
    g_gi.hidConnect = 0;
    nv_set_res_path("");
}

NVDevServices DeviceAccessTest::services()
{
    return NVDevServices{bus,
                         center,
                         &workspaceCenter,
                         displays,
                         clock,
                         ws,
                         [this] {
                             ++trustChecks;
                             return trusted;
                         },
                         [this] { ++displayChanges; }};
}

void DeviceAccessTest::start()
{
    usb = std::make_unique<NVDevUSB>(services());
    EXPECT_FALSE(usb->listen());
}

void DeviceAccessTest::send(int id, const std::vector<uint8_t>& report, int interfaceNumber)
{
    clock.advance(0.005);
    bus.sendReport(id, report.data(), report.size(), interfaceNumber);
}

std::vector<uint8_t> DeviceAccessTest::pen(uint8_t type, int32_t dy, uint16_t pressure)
{
    const NVRect& r = g_gi.sbtnInRect;
    return pen_report(type, static_cast<uint32_t>((r.left + r.right) / 2),
                      static_cast<uint32_t>((r.top + r.bottom) / 2 + dy), pressure);
}

std::vector<std::string> DeviceAccessTest::take()
{
    std::vector<std::string> out;
    for (const NVRecordedEvent& e : ws.events())
        out.push_back(describe(e));
    ws.clear();
    return out;
}

const NVModelInfo& DeviceAccessTest::model(uint32_t devType)
{
    return *nv_model_info(devType);
}

} // namespace nvtest
