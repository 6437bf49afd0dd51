// The session recording's view of the USB bus, on the scripted bus.
#include "agent/RecordingUsbBus.h"

#include "core/device/NVModelTable.h"
#include "platform/sim/NVRecordingWriter.h"
#include "platform/sim/SimUsbBus.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

std::vector<nlohmann::json> lines_of(const std::string& text)
{
    std::vector<nlohmann::json> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(nlohmann::json::parse(line));
    return out;
}

// What the watcher does with an arrival: reads the identity and keeps the device open.
struct Watcher {
    std::vector<UsbDeviceRef> arrived;
    std::vector<UsbDeviceRef> removed;
    std::vector<std::vector<uint8_t>> reports;

    void arrive(const std::vector<UsbDeviceRef>& devices)
    {
        for (const auto& d : devices) {
            arrived.push_back(d);
            uint8_t buffer[NV_USB_STRING_BUFFER] = {};
            ASSERT_EQ(d->open(), 0);
            d->readStringDescriptor(201, buffer);
            d->readStringDescriptor(200, buffer);
        }
    }
};

class RecordingUsbBusTest : public ::testing::Test {
protected:
    void listen()
    {
        ASSERT_TRUE(bus.listen(
            NV_USB_VENDOR, [this](const auto& d) { watcher.arrive(d); },
            [this](const auto& d) { watcher.removed.insert(watcher.removed.end(), d.begin(), d.end()); }));
        hid = bus.createHidManager();
        ASSERT_FALSE(watcher.arrived.empty());
        // The layer opens the watcher's device: the wrapper's inner device is claimed.
        HidManager::Callbacks callbacks;
        callbacks.report = [this](HidInterfaceRef, const uint8_t* r, size_t n) { watcher.reports.emplace_back(r, r + n); };
        EXPECT_EQ(hid->open(*watcher.arrived.back(), std::move(callbacks)), 0u);
    }

    SimUsbBus sim;
    std::ostringstream text;
    NVRecordingWriter writer{text};
    double now = 1.5;
    RecordingUsbBus bus{sim, writer, [this] { return now; }};
    Watcher watcher;
    std::unique_ptr<HidManager> hid;
};

} // namespace

TEST_F(RecordingUsbBusTest, ATabletItsReportsAndItsUnplugAreWrittenInOrder)
{
    const NVModelInfo& model = nv_maker_models().front();
    const SimDeviceScript script = SimDeviceScript::forModel(model, 55);
    const int id = sim.attach(script);
    listen();
    ASSERT_EQ(watcher.arrived.size(), 1u);

    const uint8_t report[12] = {0x08, 0x80, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    now = 2.25;
    sim.sendReport(id, report, 12);
    sim.sendReport(id, report, 11);
    now = 3.0;
    sim.detach(id);

    ASSERT_EQ(watcher.reports.size(), 2u) << "reports still reach the HID layer, whatever their length";
    ASSERT_EQ(watcher.removed.size(), 1u);
    EXPECT_EQ(watcher.removed[0], watcher.arrived[0]) << "the watcher sees one device object";

    const auto lines = lines_of(text.str());
    ASSERT_EQ(lines.size(), 4u) << text.str();
    const auto& device = lines[0]["device"];
    EXPECT_EQ(device["vendor"], NV_USB_VENDOR);
    EXPECT_EQ(device["product"], script.product);
    const auto hex = [](const std::vector<uint8_t>& b) {
        std::string s;
        char two[3];
        for (uint8_t c : b) {
            std::snprintf(two, sizeof two, "%02x", c);
            s += two;
        }
        return s;
    };
    EXPECT_EQ(device["string201"], hex(script.strings.at(201)));
    EXPECT_EQ(device["string200"], hex(script.strings.at(200)));
    EXPECT_EQ(device["string209"], hex(script.strings.at(209))) << "the battery string is read for the recording";
    EXPECT_DOUBLE_EQ(lines[1]["t"].get<double>(), 2.25);
    EXPECT_EQ(lines[1]["report"], "08 80 01 02 03 04 05 06 07 08 09 0a");
    EXPECT_EQ(lines[2]["report"], "08 80 01 02 03 04 05 06 07 08 09");
    EXPECT_DOUBLE_EQ(lines[3]["t"].get<double>(), 3.0);
    EXPECT_EQ(lines[3]["unplug"], true);
}

TEST_F(RecordingUsbBusTest, DevicesWithoutAnIdentityAreNotWrittenNorTheirUnplug)
{
    SimDeviceScript foreign;
    foreign.vendor = 0x1234;
    const int id = sim.attach(foreign);
    ASSERT_TRUE(bus.listen(
        NV_USB_VENDOR, [this](const auto& d) { watcher.arrived.insert(watcher.arrived.end(), d.begin(), d.end()); },
        [this](const auto& d) { watcher.removed.insert(watcher.removed.end(), d.begin(), d.end()); }));
    sim.detach(id);
    EXPECT_EQ(watcher.arrived.size(), 1u);
    EXPECT_EQ(watcher.removed.size(), 1u);
    EXPECT_TRUE(text.str().empty()) << text.str();
}

TEST_F(RecordingUsbBusTest, ADeviceStillAttachedWhenTheBusArmsAgainIsWrittenOnce)
{
    sim.attach(SimDeviceScript::forModel(nv_maker_models().front()));
    listen();
    listen();
    EXPECT_EQ(watcher.arrived.size(), 2u);
    EXPECT_EQ(watcher.arrived[0], watcher.arrived[1]);
    EXPECT_EQ(lines_of(text.str()).size(), 1u);
}
