// The scripted bus holds HID layers to the kernel's rules, so that a layer which claims too
// early, never releases, or ignores a failed transfer shows in the tests.
#include "platform/sim/SimUsbBus.h"

#include "core/device/NVModelTable.h"
#include "core/driver/UsbTransferRecovery.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kBusy = 0xE0000000u | HidManager::kExclusiveAccessError;

class SimUsbBusTest : public ::testing::Test {
protected:
    // Attaches a tablet with `interfaces` HID interfaces; returns the device the bus announced.
    UsbDevice& plug(SimDeviceScript script)
    {
        id = bus.attach(std::move(script));
        return *arrived.back();
    }
    UsbDevice& plug(int interfaces = 1)
    {
        SimDeviceScript script = SimDeviceScript::forModel(nv_maker_models().front());
        script.hidInterfaces = interfaces;
        return plug(script);
    }
    HidManager::Callbacks counting()
    {
        HidManager::Callbacks c;
        c.inserted = [this](HidInterfaceRef) { ++inserted; };
        c.report = [this](HidInterfaceRef, const uint8_t*, size_t) { ++reports; };
        c.failed = [this](HidInterfaceRef) { ++failed; };
        return c;
    }
    void report()
    {
        const uint8_t r[12] = {0x08, 0x80};
        bus.sendReport(id, r, sizeof r);
    }

    void SetUp() override
    {
        bus.listen(
            NV_USB_VENDOR, [this](const auto& d) { arrived.insert(arrived.end(), d.begin(), d.end()); },
            [](const auto&) {});
    }

    SimUsbBus bus;
    std::vector<UsbDeviceRef> arrived;
    int id = 0;
    int inserted = 0;
    int reports = 0;
    int failed = 0;
};

} // namespace

TEST_F(SimUsbBusTest, AnInterfaceClaimedOnAnotherHandleIsBusy)
{
    UsbDevice& dev = plug(2);
    EXPECT_TRUE(bus.kernelDriverAttached(id, 1));
    auto first = bus.createHidManager();
    EXPECT_EQ(first->open(dev, counting()), 0u);
    EXPECT_EQ(inserted, 2);
    EXPECT_FALSE(bus.kernelDriverAttached(id, 1));

    auto second = bus.createHidManager();
    EXPECT_EQ(second->open(dev, counting()), kBusy);
    EXPECT_EQ(inserted, 2);
    report();
    EXPECT_EQ(reports, 1) << "only the holder reads";

    SimDeviceScript held = SimDeviceScript::forModel(nv_maker_models().front());
    held.heldElsewhere = true;
    UsbDevice& other = plug(held);
    EXPECT_EQ(bus.createHidManager()->open(other, counting()), kBusy);

    plug(); // a later arrival is never taken in
    EXPECT_TRUE(bus.kernelDriverAttached(id));
}

TEST_F(SimUsbBusTest, AReleaseCompletesOnTheLoopAndGivesTheInterfacesToTheKernel)
{
    UsbDevice& dev = plug();
    auto first = bus.createHidManager();
    first->open(dev, counting());
    int released = 0;
    first->close([&] { ++released; });
    EXPECT_EQ(released, 0);
    report();
    EXPECT_EQ(reports, 0) << "reading stops at once";
    EXPECT_TRUE(bus.hidOpen()) << "held until the cancelled transfers are reaped";
    EXPECT_EQ(bus.createHidManager()->open(dev, counting()), kBusy);

    EXPECT_EQ(bus.pump(), 1);
    EXPECT_EQ(released, 1);
    EXPECT_FALSE(bus.hidOpen());
    EXPECT_TRUE(bus.kernelDriverAttached(id));
    EXPECT_EQ(bus.createHidManager()->open(dev, counting()), 0u);
}

TEST_F(SimUsbBusTest, OnlyAProperReleaseRebindsTheKernelsDriver)
{
    UsbDevice& dev = plug();
    bus.createHidManager()->open(dev, counting()); // the handle closes unreleased
    EXPECT_FALSE(bus.hidOpen());
    EXPECT_FALSE(bus.kernelDriverAttached(id));

    // A layer gone before its release completes: the release still completes, silently.
    auto layer = bus.createHidManager();
    layer->open(dev, counting());
    bool released = false;
    layer->close([&] { released = true; });
    layer.reset();
    bus.pump();
    EXPECT_FALSE(released);
    EXPECT_TRUE(bus.kernelDriverAttached(id));
}

TEST_F(SimUsbBusTest, AShutdownReleasesAtOnceUnlessTheTransfersHang)
{
    UsbDevice& dev = plug();
    auto layer = bus.createHidManager();
    layer->open(dev, counting());
    EXPECT_TRUE(layer->closeWithin(1.0));
    EXPECT_TRUE(bus.kernelDriverAttached(id));

    SimDeviceScript stuck = SimDeviceScript::forModel(nv_maker_models().front());
    stuck.releaseHangs = true;
    UsbDevice& other = plug(stuck);
    auto hung = bus.createHidManager();
    hung->open(other, counting());
    bool released = false;
    hung->close([&] { released = true; });
    bus.pump();
    EXPECT_FALSE(released);
    EXPECT_FALSE(hung->closeWithin(1.0));
    EXPECT_FALSE(bus.kernelDriverAttached(id));
}

TEST_F(SimUsbBusTest, AFailedTransferIsRecoveredOnTheLoopAndGivenUpPastTheBound)
{
    UsbDevice& dev = plug();
    auto layer = bus.createHidManager();
    layer->open(dev, counting());
    int wakes = 0;
    bus.setWake([&] { ++wakes; });
    bus.failTransfer(id, UsbTransferError::Overflow);
    EXPECT_EQ(wakes, 1);
    report();
    EXPECT_EQ(reports, 0);
    bus.pump();
    report();
    EXPECT_EQ(reports, 1);

    for (int i = 0; i < 6; ++i) {
        bus.failTransfer(id, UsbTransferError::Error);
        EXPECT_EQ(failed, 0) << "never from inside the failure";
        bus.pump();
    }
    EXPECT_EQ(failed, 1);
    bus.failTransfer(id, UsbTransferError::Error); // nothing in flight any more
    bus.pump();
    EXPECT_EQ(failed, 1);
}

TEST_F(SimUsbBusTest, AScriptedFailingDeviceFailsEveryTransferRoundByRound)
{
    SimDeviceScript script = SimDeviceScript::forModel(nv_maker_models().front());
    script.failingTransfers = UsbTransferError::Stall;
    script.hidInterfaces = 2;
    UsbDevice& dev = plug(script);
    auto layer = bus.createHidManager();
    layer->open(dev, counting());
    EXPECT_EQ(bus.pump(1), 2) << "one failed transfer per interface";
    EXPECT_EQ(bus.clearedHalts(id), 0);
    EXPECT_EQ(bus.pump(1), 2) << "one resubmission each";
    EXPECT_EQ(bus.clearedHalts(id), 2);
    bus.pump();
    EXPECT_EQ(failed, 2);
    EXPECT_EQ(bus.clearedHalts(id), 2 * UsbTransferRecovery::kRetries);
    EXPECT_EQ(reports, 0);

    // A layer closed meanwhile gets no failure.
    auto second = bus.createHidManager();
    layer->closeWithin(1.0);
    second->open(dev, counting());
    second->close({});
    bus.pump();
    EXPECT_EQ(failed, 2);
}
