#include "core/channel/NVNotificationNames.h"
#include "core/device/NVModelTable.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVGlobalInfo.h"
#include "tests/driver/DeviceAccessFixture.h"
#include "tests/input/InputTestSupport.h"

#include <cstring>

using Events = std::vector<std::string>;

using nvtest::kPenModel;

namespace {

class HidTest : public nvtest::DeviceAccessTest {
protected:
    int plugAndStart(SimDeviceScript script)
    {
        const int id = bus.attach(std::move(script));
        start();
        return id;
    }
    int plugAndStart() { return plugAndStart(SimDeviceScript::forModel(model(kPenModel))); }
};

} // namespace

TEST_F(HidTest, EveryInterfaceFeedsTheOneDispatcher)
{
    SimDeviceScript script = SimDeviceScript::forModel(model(kPenModel));
    script.hidInterfaces = 3;
    const int id = plugAndStart(script);
    send(id, pen(0x80), 0);
    send(id, pen(0x81, 0, 3000), 2);
    send(id, pen(0x80), 1);
    const Events events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "ldown(0,1)"), events.end());
    EXPECT_EQ(events.back(), "lup(0,1)");
    size_t inserts = 0;
    for (const std::string& line : log.lines())
        inserts += line.starts_with("callback_hid_insert(inContext=");
    EXPECT_EQ(inserts, 3u);
}

TEST_F(HidTest, OnlyTwelveByteReportsAreDispatched)
{
    const int id = plugAndStart();
    std::vector<uint8_t> report = pen(0x80);
    std::vector<uint8_t> shorter(report.begin(), report.end() - 1);
    std::vector<uint8_t> longer = report;
    longer.push_back(0);
    send(id, shorter);
    send(id, longer);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(g_gi.lastReport[0], 0);
    send(id, report);
    EXPECT_FALSE(take().empty());
}

TEST_F(HidTest, InterfacesHeldElsewhereAreLoggedAndGiveNoReports)
{
    SimDeviceScript script = SimDeviceScript::forModel(model(kPenModel));
    script.heldElsewhere = true;
    const int id = plugAndStart(script);
    EXPECT_TRUE(log.contains("IOHIDManagerOpen as exclusive access mode:e00002c5"));
    EXPECT_NE(usb->hid(), nullptr); // the layer stays in place
    send(id, pen(0x80));
    EXPECT_TRUE(take().empty());
}

TEST_F(HidTest, MissingTrustIsLoggedOnceWithTheFix)
{
    trusted = false;
    const int id = plugAndStart();
    for (int i = 0; i < 5; ++i)
        send(id, pen(0x80, i));
    EXPECT_EQ(trustChecks, 1);
    size_t lines = 0;
    for (const std::string& line : log.lines())
        lines += line.find("install the udev rule") != std::string::npos;
    EXPECT_EQ(lines, 1u);
    EXPECT_FALSE(take().empty()); // reports are still handled
}

TEST_F(HidTest, KeyboardConnectionIsOpenedAndReplaced)
{
    ws.setKeyboardAvailable(false);
    plugAndStart();
    EXPECT_TRUE(log.contains("error opening HID service"));
    EXPECT_EQ(g_gi.hidConnect, 0u);
    EXPECT_EQ(usb->hid()->CloseHIDService(), 0); // nothing open

    ws.setKeyboardAvailable(true);
    EXPECT_EQ(usb->hid()->OpenHIDService(), 0);
    EXPECT_NE(g_gi.hidConnect, 0u);
    EXPECT_TRUE(ws.keyboardConnected());
    EXPECT_EQ(usb->hid()->CloseHIDService(), 0);
    EXPECT_EQ(g_gi.hidConnect, 0u);
    EXPECT_FALSE(ws.keyboardConnected());
}

TEST_F(HidTest, EachDisplayReconfigurationRefreshesTheMappingOnce)
{
    SimDeviceScript script = SimDeviceScript::forModel(model(kPenModel));
    script.hidInterfaces = 2;
    const int id = plugAndStart(script);
    send(id, pen(0x80));
    const double before = ws.events().back().ws.x;
    take();

    displays.setDisplays({{1, {0, 0, 2000, 800}}});
    EXPECT_EQ(displayChanges, 1);
    send(id, pen(0x80));
    EXPECT_NEAR(ws.events().back().ws.x, 2 * before, 1.0);

    bus.detach(id); // the layer no longer follows the displays
    displays.setDisplays({{1, {0, 0, 1000, 800}}});
    EXPECT_EQ(displayChanges, 1);
}

TEST_F(HidTest, ConfigurationFromTheSettingsApplicationReleasesWhatIsHeld)
{
    const int id = plugAndStart();
    send(id, pen(0x80));
    send(id, pen(0x81, 0, 3000));
    take();
    auto cfg = std::make_unique<NVConfig>();
    std::memcpy(cfg.get(), &g_gi.cfg, sizeof(NVConfig));
    NVPlistData bytes(reinterpret_cast<const uint8_t*>(cfg.get()),
                      reinterpret_cast<const uint8_t*>(cfg.get()) + sizeof(NVConfig));
    center.post(nvNotificationCfgSendByUI, NVPlistDict{{nvKeyCfgValFromUI, bytes}});
    const Events events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "lup(0,1)"), events.end());
}

TEST_F(HidTest, CalibrationNotificationsReachTheDispatcher)
{
    plugAndStart();
    center.post(nvNotificationToDriverStartCalibrate, {});
    EXPECT_EQ(g_gi.bCalibrating, 1);
    center.post(nvNotificationToDriverEndCalibrate, {});
    EXPECT_EQ(g_gi.bCalibrating, 0);
}
