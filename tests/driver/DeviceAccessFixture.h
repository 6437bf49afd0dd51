// The assembled agent core on the scripted bus: the USB watcher with its HID layer and
// dispatcher, a recording window system, a manual clock, one display and an in-process
// notification centre, with the per-user folder and the resources of the build tree.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "core/driver/NVDevUSB.h"
#include "core/log/NVLog.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"
#include "platform/sim/RecordingWindowSystem.h"
#include "platform/sim/SimUsbBus.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct NVModelInfo;

namespace nvtest {

// Every notification posted on a centre, as "name" or "name key=value" for the keys asked.
class PostLog {
public:
    PostLog(NotificationCenter& center, std::vector<std::string> names);
    // Posts of name since the start, each as its user info.
    std::vector<NVPlistDict> of(const std::string& name) const;

private:
    std::vector<std::pair<std::string, NVPlistDict>> posts_;
};

// A model with soft keys: the pen is followed inside the soft-key strip's inner area.
inline constexpr uint32_t kPenModel = 19;

class DeviceAccessTest : public ::testing::Test {
protected:
    DeviceAccessTest();
    ~DeviceAccessTest() override;

    // Creates the watcher and arms it.
    void start();
    NVDevServices services();
    void send(int id, const std::vector<uint8_t>& report, int interfaceNumber = 0);
    // A pen report at the middle of the area inside the soft-key strip, dy further down.
    static std::vector<uint8_t> pen(uint8_t type, int32_t dy = 0, uint16_t pressure = 0);
    // Events since the last call, spelled as in the input tests.
    std::vector<std::string> take();

    static const NVModelInfo& model(uint32_t devType);

    ScopedConfigHome home;
    NVLogCapture log;
    ManualClock clock;
    FakeDisplays displays{{{1, {0, 0, 1000, 800}}}};
    RecordingWindowSystem ws{&clock};
    LocalNotificationCenter center;
    LocalNotificationCenter workspaceCenter;
    SimUsbBus bus;
    PostLog posts;
    bool trusted = true;
    int trustChecks = 0;
    int displayChanges = 0;
    std::unique_ptr<NVDevUSB> usb;
};

} // namespace nvtest
