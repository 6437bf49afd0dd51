#include "platform/linux/LibusbBus.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// No tablet is attached where the tests run: arming must succeed, deliver nothing, and
// survive re-arming and a HID layer with nothing to hold.
TEST(LibusbBus, ArmsAndRearmsWithoutATablet)
{
    int argc = 1;
    char name[] = "libusb_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    auto bus = LibusbBus::create();
    if (!bus)
        GTEST_SKIP() << "libusb cannot start here (no USB subsystem or no hotplug support)";
    int arrivals = 0;
    auto count = [&](const std::vector<UsbDeviceRef>& devices) { arrivals += static_cast<int>(devices.size()); };
    ASSERT_TRUE(bus->listen(0xFFFE, count, count)); // a vendor no device here has
    ASSERT_TRUE(bus->listen(0xFFFE, count, count));
    EXPECT_EQ(arrivals, 0);
    EXPECT_TRUE(bus->attached().empty());

    auto hid = bus->createHidManager();
    EXPECT_EQ(hid->open(0xFFFE, {}), 0u);
    hid->close();
    QCoreApplication::processEvents();
}
