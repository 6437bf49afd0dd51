#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "core/driver/UsbTransferRecovery.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVGlobalInfo.h"
#include "tests/driver/DeviceAccessFixture.h"
#include "tests/input/InputTestSupport.h"

#include <filesystem>

using Events = std::vector<std::string>;

using nvtest::kPenModel;

namespace {

class UsbTest : public nvtest::DeviceAccessTest {
protected:
    int plug(uint32_t devType = kPenModel)
    {
        return bus.attach(SimDeviceScript::forModel(model(devType)));
    }
    int32_t announcedDevType(size_t i) const
    {
        return nv_plist_int(posts.of(nvNotificationToUITabletInfo).at(i), nvKeyDevType);
    }
    size_t announcements() const { return posts.of(nvNotificationToUITabletInfo).size(); }
};

} // namespace

TEST_F(UsbTest, KnownTabletIsIdentifiedConfiguredAnnouncedAndDriven)
{
    const int id = plug();
    start(); // already attached: handled while arming
    EXPECT_EQ(g_gi.ti.devType, kPenModel);
    EXPECT_EQ(g_gi.ti.maxX, model(kPenModel).maxX);
    EXPECT_EQ(g_gi.ti.hbtnNum, model(kPenModel).hbtnNum);
    EXPECT_TRUE(std::filesystem::exists(getConfigUserFullPath()));
    EXPECT_STREQ(g_gi.cfg.contexts[0].appPath, "Default");
    EXPECT_EQ(g_gi.cfg.calibrateFactor[0], 65536);
    EXPECT_GT(g_gi.tabletLayout.size.cx, 0);
    EXPECT_EQ(g_gi.tabletLayout.hbtnNum, model(kPenModel).hbtnNum);
    ASSERT_EQ(announcements(), 1u);
    EXPECT_EQ(announcedDevType(0), int32_t(kPenModel));
    ASSERT_NE(usb->hid(), nullptr);
    EXPECT_TRUE(bus.hidOpen());
    EXPECT_NE(g_gi.hidConnect, 0u);
    EXPECT_EQ(trustChecks, 1);
    EXPECT_TRUE(log.contains("Device 0x00000001 added func.\n"));

    send(id, pen(0x80));
    send(id, pen(0x81, 0, 3000));
    send(id, pen(0x80));
    const Events events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "ldown(0,1)"), events.end());
    EXPECT_EQ(events.back(), "lup(0,1)");
    EXPECT_EQ(g_gi.lastReport[1], 0x80);
    EXPECT_EQ(trustChecks, 1); // never per report
}

TEST_F(UsbTest, SoftKeyAreaComesFromTheLayoutInTabletUnits)
{
    plug(19);
    start();
    ASSERT_EQ(g_gi.ti.sbtnNum, 16);
    const NVRect& a = g_gi.tabletLayout.workarea;
    const NVRect& s = g_gi.tabletLayout.sbtnInRect;
    ASSERT_GT(a.right, a.left);
    const double w = a.right - a.left;
    const double h = a.bottom - a.top;
    EXPECT_NEAR(g_gi.sbtnInRect.left, (s.left - a.left) / w * g_gi.ti.maxX, 1.0);
    EXPECT_NEAR(g_gi.sbtnInRect.top, (s.top - a.top) / h * g_gi.ti.maxY, 1.0);
    EXPECT_NEAR(g_gi.sbtnInRect.right, (s.right - a.left) / w * g_gi.ti.maxX, 1.0);
    EXPECT_NEAR(g_gi.sbtnInRect.bottom, (s.bottom - a.top) / h * g_gi.ti.maxY, 1.0);
    EXPECT_GT(g_gi.sbtnInRect.right, g_gi.sbtnInRect.left);
}

TEST_F(UsbTest, UnknownModelAndForeignVendorGetNoHidLayer)
{
    SimDeviceScript unknown = SimDeviceScript::forModel(model(1));
    unknown.strings[201] = nv_utf16le_payload("SOMETHING ELSE 12345");
    bus.attach(unknown);
    SimDeviceScript foreign = SimDeviceScript::forModel(model(1));
    foreign.vendor = 0x1234;
    foreign.product = 7;
    bus.attach(foreign);
    start();
    EXPECT_EQ(g_gi.ti.devType, 0u);
    EXPECT_EQ(usb->hid(), nullptr);
    EXPECT_FALSE(bus.hidOpen());
    EXPECT_EQ(bus.openDevices(), 0);
    EXPECT_EQ(announcements(), 0u);
    EXPECT_TRUE(log.contains("found device i didn't want (vendor = 4660, product = 7)\n"));
}

TEST_F(UsbTest, FailedStringReadReleasesTheDeviceAndEndsTheBatch)
{
    for (uint8_t failing : {uint8_t(201), uint8_t(200)}) {
        SCOPED_TRACE(failing);
        SimUsbBus localBus;
        SimDeviceScript broken = SimDeviceScript::forModel(model(1));
        broken.failingStrings = {failing};
        localBus.attach(broken);
        localBus.attach(SimDeviceScript::forModel(model(2))); // same batch, after the broken one
        NVDevServices s = services();
        NVDevUSB watcher(NVDevServices{localBus, s.center, s.workspaceCenter, s.displays, s.clock, s.windowSystem,
                                       s.trusted, s.displaysChanged});
        watcher.listen();
        EXPECT_EQ(localBus.openDevices(), 0);
        EXPECT_EQ(watcher.hid(), nullptr);
        EXPECT_FALSE(localBus.hidOpen());
        // A later arrival is handled as usual.
        localBus.attach(SimDeviceScript::forModel(model(4)));
        EXPECT_EQ(g_gi.ti.devType, 4u);
        EXPECT_NE(watcher.hid(), nullptr);
    }
}

TEST_F(UsbTest, UnplugMidStrokeSavesReleasesClearsAndAnnounces)
{
    const int id = plug();
    start();
    g_gi.cfg.pressFactor = 3; // changed since the load: must reach the file
    send(id, pen(0x80));
    send(id, pen(0x81, 0, 3000));
    take();

    bus.detach(id);
    const Events events = take();
    ASSERT_FALSE(events.empty());
    EXPECT_NE(std::find(events.begin(), events.end(), "lup(0,1)"), events.end());
    EXPECT_NE(nvtest::read_file(getConfigUserFullPath()).find("<pressFactor>3</pressFactor>"), std::string::npos);
    EXPECT_EQ(g_gi.ti.devType, 0u);
    EXPECT_FALSE(bus.hidOpen());
    ASSERT_EQ(announcements(), 2u);
    EXPECT_EQ(announcedDevType(1), 0);
    EXPECT_EQ(bus.listenCount(), 2); // armed again
    EXPECT_EQ(bus.openDevices(), 0);

    // The settings application asks afterwards: every field is zero.
    center.post(nvNotificationToDriverQueryTabletInfo, {});
    const auto all = posts.of(nvNotificationToUITabletInfo);
    ASSERT_GT(all.size(), 2u);
    for (const auto& [key, value] : all.back()) {
        if (key != nvKeySDevVer) {
            EXPECT_EQ(value.asInt(), 0) << key;
        }
    }
    EXPECT_EQ(nv_plist_string(all.back(), nvKeySDevVer), "");
}

TEST_F(UsbTest, ReplugRepeatsTheWholeArrival)
{
    int id = plug();
    start();
    bus.detach(id);
    id = plug();
    bus.pump(); // the earlier layer's release completes first
    EXPECT_EQ(g_gi.ti.devType, kPenModel);
    EXPECT_TRUE(bus.hidOpen());
    EXPECT_EQ(announcedDevType(2), int32_t(kPenModel));
    EXPECT_EQ(trustChecks, 2);
    send(id, pen(0x80));
    EXPECT_FALSE(take().empty());
}

TEST_F(UsbTest, UnknownDeviceLeavesTheTabletAloneAndItsRemovalReArmsTheBus)
{
    const int tablet = plug();
    start();
    SimDeviceScript unknown = SimDeviceScript::forModel(model(1));
    unknown.strings[201] = nv_utf16le_payload("SOMETHING ELSE 12345");
    const int other = bus.attach(unknown);
    EXPECT_EQ(g_gi.ti.devType, kPenModel); // the current tablet keeps its record
    EXPECT_TRUE(bus.kernelDriverAttached(other)) << "never taken into the running layer";
    send(other, pen(0x81, 0, 3000));
    EXPECT_TRUE(take().empty());
    send(tablet, pen(0x80));
    EXPECT_FALSE(take().empty());

    bus.detach(other);
    EXPECT_EQ(announcedDevType(1), 0);
    EXPECT_EQ(announcedDevType(2), int32_t(kPenModel)); // still attached: it arrives again
    EXPECT_EQ(g_gi.ti.devType, kPenModel);
    // The new layer claims only once the old one has given the interfaces back; claiming
    // at once would be refused and the late release would hand them to the kernel.
    bus.pump();
    EXPECT_TRUE(bus.hidOpen());
    EXPECT_FALSE(bus.kernelDriverAttached(tablet));
    EXPECT_FALSE(log.contains("IOHIDManagerOpen as exclusive access mode"));
    send(tablet, pen(0x80));
    EXPECT_FALSE(take().empty());
}

TEST_F(UsbTest, BatteryLevelWithAndWithoutTablet)
{
    start();
    center.post(nvNotificationQueryBatteryPower, {});
    const int id = bus.attach(SimDeviceScript::forModel(model(1), 57));
    center.post(nvNotificationQueryBatteryPower, {});
    bus.detach(id);
    center.post(nvNotificationQueryBatteryPower, {});

    const auto answers = posts.of(nvNotificationQueryBatteryPowerForUI);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(nv_plist_string(answers[0], nvKeyCurrentPower), "0");
    EXPECT_EQ(nv_plist_string(answers[1], nvKeyCurrentPower), "57");
    EXPECT_EQ(nv_plist_string(answers[2], nvKeyCurrentPower), "0");

    SimDeviceScript mute = SimDeviceScript::forModel(model(1));
    mute.failingStrings = {209};
    bus.attach(mute);
    EXPECT_EQ(usb->queryBatteryPowerFromUI(), 0);
}

TEST_F(UsbTest, ListenFailureIsReported)
{
    bus.setListenFails(true);
    usb = std::make_unique<NVDevUSB>(services());
    EXPECT_TRUE(usb->listen());
    EXPECT_TRUE(log.contains("NVDevUSB \t listen"));
}

TEST_F(UsbTest, ASecondTabletReplacesTheFirstWithNothingLeftPressed)
{
    const int first = plug();
    start();
    send(first, pen(0x80));
    send(first, pen(0x81, 0, 3000));
    take();
    const int second = plug(2);
    const Events events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "lup(0,1)"), events.end());
    EXPECT_EQ(g_gi.ti.devType, 2u);
    EXPECT_EQ(announcedDevType(1), 2);

    // The first is given back to the system; only the second is read.
    bus.pump();
    EXPECT_TRUE(bus.kernelDriverAttached(first));
    EXPECT_FALSE(bus.kernelDriverAttached(second));
    send(first, pen(0x80));
    EXPECT_TRUE(take().empty());
    send(second, pen(0x80));
    EXPECT_FALSE(take().empty());
}

TEST_F(UsbTest, CloseReleasesWhatIsHeldSavesAndGivesTheTabletBack)
{
    const int id = plug();
    start();
    g_gi.cfg.pressFactor = 3; // changed since the load: must reach the file
    send(id, pen(0x80));
    send(id, pen(0x81, 0, 3000));
    send(id, nvtest::hbtn_report(1));
    take();

    usb->close();
    const Events events = take();
    EXPECT_EQ(events, (Events{"lup(0,1)", "kup59", "flags0"})) << "the tip and the express key's function let go";
    EXPECT_NE(nvtest::read_file(getConfigUserFullPath()).find("<pressFactor>3</pressFactor>"), std::string::npos);
    EXPECT_FALSE(bus.hidOpen());
    EXPECT_TRUE(bus.kernelDriverAttached(id)) << "at once, without the loop";
    EXPECT_EQ(bus.openDevices(), 0);
    EXPECT_TRUE(log.contains("NVDevUSB \tNVDevUSB close"));
}

TEST_F(UsbTest, CloseCompletesAReleaseStillUnderWayAndBoundsItsWait)
{
    const int id = plug();
    start();
    bus.attach(SimDeviceScript::forModel(model(2))); // the first layer is being released
    usb->close();
    EXPECT_TRUE(bus.kernelDriverAttached(id));
    EXPECT_FALSE(bus.hidOpen());

    SimDeviceScript stuck = SimDeviceScript::forModel(model(kPenModel));
    stuck.releaseHangs = true;
    SimUsbBus localBus;
    localBus.attach(stuck);
    NVDevServices s = services();
    NVDevUSB watcher(NVDevServices{localBus, s.center, s.workspaceCenter, s.displays, s.clock, s.windowSystem,
                                   s.trusted, s.displaysChanged});
    watcher.listen();
    watcher.close(); // returns although the transfers never come back
    EXPECT_TRUE(log.contains("NVDevUSB close, the tablet's transfers did not come back in time"));
}

TEST_F(UsbTest, FailedTransfersAreRetriedOnTheLoopWithTheHaltCleared)
{
    const int id = plug();
    start();
    send(id, pen(0x80));
    take();
    bus.failTransfer(id, UsbTransferError::Stall);
    send(id, pen(0x80, 10)); // no transfer in flight: nothing is read
    EXPECT_TRUE(take().empty());
    bus.pump();
    EXPECT_EQ(bus.clearedHalts(id), 1);
    send(id, pen(0x80, 20));
    EXPECT_FALSE(take().empty());

    // One line for a run of failures, however long, and none for a timeout.
    for (UsbTransferError e : {UsbTransferError::Error, UsbTransferError::Overflow, UsbTransferError::Timeout}) {
        bus.failTransfer(id, e);
        bus.pump();
    }
    send(id, pen(0x80, 30));
    EXPECT_FALSE(take().empty());
    EXPECT_EQ(log.count("USB transfer on interface 0 failed (stall): retrying"), 1u);
    EXPECT_EQ(log.count("USB transfer on interface 0 failed (error): retrying"), 1u);
    EXPECT_EQ(log.count("failed (overflow)"), 0u);
    EXPECT_EQ(bus.clearedHalts(id), 1);
    EXPECT_EQ(announcements(), 1u);
}

TEST_F(UsbTest, ATabletThatKeepsFailingIsHandledAsUnpluggedWithNothingLeftPressed)
{
    const int id = plug();
    start();
    send(id, pen(0x80));
    send(id, pen(0x81, 0, 3000));
    take();
    for (int i = 0; i <= UsbTransferRecovery::kRetries; ++i) {
        bus.failTransfer(id, UsbTransferError::Error);
        bus.pump();
    }
    const Events events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "lup(0,1)"), events.end());
    EXPECT_TRUE(log.contains("still fails after 5 retries: the tablet is treated as unplugged"));
    ASSERT_EQ(announcements(), 2u);
    EXPECT_EQ(announcedDevType(1), 0);
    EXPECT_EQ(bus.listenCount(), 2); // armed again
    bus.pump();
    EXPECT_FALSE(bus.hidOpen());
    EXPECT_TRUE(bus.kernelDriverAttached(id)) << "given back to the system";
    EXPECT_EQ(bus.openDevices(), 0);
}

// Adopted again while still attached, it would fail again at once: the agent would cycle
// for ever, saving and announcing each time. A replug is a fresh start.
TEST_F(UsbTest, ATabletGivenUpOnIsLeftAloneUntilItIsPluggedInAgain)
{
    SimDeviceScript broken = SimDeviceScript::forModel(model(kPenModel));
    broken.failingTransfers = UsbTransferError::Error;
    broken.hidInterfaces = 2; // both interfaces give up: still one removal
    const int id = bus.attach(broken);
    start();
    const size_t saves = log.count("saveXML path=");
    // A round of the loop stands for a retry period: far more than the retries take.
    constexpr int kRounds = 300;
    bus.pump(kRounds);
    EXPECT_EQ(log.count("saveXML path="), saves + 1);
    ASSERT_EQ(announcements(), 2u);
    EXPECT_EQ(announcedDevType(1), 0);
    EXPECT_EQ(log.count("keeps failing: it is left alone until it is plugged in again"), 1u);
    EXPECT_EQ(bus.pump(), 0) << "nothing more waits";
    EXPECT_FALSE(bus.hidOpen());
    EXPECT_TRUE(bus.kernelDriverAttached(id, 0));
    EXPECT_TRUE(bus.kernelDriverAttached(id, 1));
    EXPECT_EQ(bus.openDevices(), 0);

    // Another device of the vendor leaving re-arms the bus: the broken one stays alone.
    SimDeviceScript unknown = SimDeviceScript::forModel(model(1));
    unknown.strings[201] = nv_utf16le_payload("SOMETHING ELSE 12345");
    bus.detach(bus.attach(unknown));
    bus.pump(kRounds);
    EXPECT_EQ(log.count("saveXML path="), saves + 1);
    EXPECT_EQ(g_gi.ti.devType, 0u);
    EXPECT_FALSE(bus.hidOpen());

    bus.detach(id);
    const int replugged = plug();
    bus.pump(kRounds);
    EXPECT_EQ(g_gi.ti.devType, kPenModel);
    EXPECT_EQ(announcedDevType(announcements() - 1), int32_t(kPenModel));
    EXPECT_TRUE(bus.hidOpen());
    send(replugged, pen(0x80));
    EXPECT_FALSE(take().empty());
}

TEST_F(UsbTest, ATransferOfAGoneDeviceIsNotRetried)
{
    const int id = plug();
    start();
    bus.failTransfer(id, UsbTransferError::NoDevice);
    EXPECT_EQ(bus.pump(), 0);
    send(id, pen(0x80));
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(log.contains("USB transfer on interface 0: the device is gone"));
    EXPECT_EQ(announcements(), 1u); // its removal does the rest
}

TEST_F(UsbTest, RemovalWithoutATabletSavesNothing)
{
    start();
    SimDeviceScript unknown = SimDeviceScript::forModel(model(1));
    unknown.strings[201] = nv_utf16le_payload("SOMETHING ELSE 12345");
    bus.detach(bus.attach(unknown));
    EXPECT_FALSE(std::filesystem::exists(getConfigUserFullPath()));
    EXPECT_EQ(announcedDevType(0), 0);
    EXPECT_EQ(bus.listenCount(), 2);
}
