// The libusb adapter where no tablet is attached: arming, and the HID layer's release and
// shutdown, which run on the loop whatever the layer held.
#include "platform/linux/LibusbBus.h"

#include "tests/qt/QtTestSupport.h"

#include <gtest/gtest.h>

namespace {

class LibusbBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::qt_app();
        bus = LibusbBus::create();
        if (!bus)
            GTEST_SKIP() << "libusb cannot start here (no USB subsystem or no hotplug support)";
    }

    std::unique_ptr<LibusbBus> bus;
};

} // namespace

TEST_F(LibusbBusTest, ArmsAndRearmsWithoutATablet)
{
    int arrivals = 0;
    auto count = [&](const std::vector<UsbDeviceRef>& devices) { arrivals += static_cast<int>(devices.size()); };
    ASSERT_TRUE(bus->listen(0xFFFE, count, count)); // a vendor no device here has
    ASSERT_TRUE(bus->listen(0xFFFE, count, count));
    EXPECT_EQ(arrivals, 0);
    EXPECT_TRUE(bus->attached().empty());
}

TEST(LibusbBus, TheReportBufferHoldsWholePacketsAndAWholeReport)
{
    EXPECT_EQ(LibusbBus::reportBufferSize(1024), 1024u) << "a high-speed packet must not overflow";
    EXPECT_EQ(LibusbBus::reportBufferSize(64), 64u);
    EXPECT_EQ(LibusbBus::reportBufferSize(8), 16u) << "a report over two low-speed packets";
    EXPECT_EQ(LibusbBus::reportBufferSize(0), 64u);
}

TEST_F(LibusbBusTest, AReleaseCompletesOnTheLoopNeverInsideClose)
{
    auto hid = bus->createHidManager();
    int released = 0;
    hid->close([&] { ++released; });
    EXPECT_EQ(released, 0) << "a caller may still be using the layer";
    EXPECT_TRUE(nvtest::spin_until([&] { return released > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(released, 1);
}

TEST_F(LibusbBusTest, ALayerGoneBeforeItsReleaseDropsTheCallback)
{
    auto hid = bus->createHidManager();
    bool released = false;
    hid->close([&] { released = true; });
    hid.reset();
    auto witness = bus->createHidManager();
    bool witnessed = false;
    witness->close([&] { witnessed = true; });
    ASSERT_TRUE(nvtest::spin_until([&] { return witnessed; }));
    EXPECT_FALSE(released);
}

TEST_F(LibusbBusTest, ShuttingDownWithNothingHeldReturnsAtOnce)
{
    auto hid = bus->createHidManager();
    EXPECT_TRUE(hid->closeWithin(0.5));
    bool released = false;
    auto other = bus->createHidManager();
    other->close([&] { released = true; });
    EXPECT_TRUE(other->closeWithin(0.5)) << "completes a close under way";
    auto witness = bus->createHidManager();
    bool witnessed = false;
    witness->close([&] { witnessed = true; });
    ASSERT_TRUE(nvtest::spin_until([&] { return witnessed; }));
    EXPECT_FALSE(released) << "a shutdown does not call back";
}
