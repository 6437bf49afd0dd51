// Shared set-up of the input tests: a clean process record, the simulated window system,
// clock, displays and workspace, and a compact spelling of posted events.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "core/events/NVMacFunc.h"
#include "core/events/ProcessLauncher.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/FakeWorkspace.h"
#include "platform/sim/ManualClock.h"
#include "platform/sim/RecordingWindowSystem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace nvtest {

// Clears g_gi and the context index, then describes a plain tablet of maxX × maxY.
void reset_globals(uint32_t maxX = 10000, uint32_t maxY = 8000);
// Back to the start state of every process-wide variable of the input path.
void reset_input_statics();

// 12-byte reports.
std::vector<uint8_t> pen_report(uint8_t type, uint32_t x, uint32_t y, uint16_t pressure = 0, int8_t ax = 0,
                                int8_t ay = 0);
std::vector<uint8_t> hbtn_report(uint32_t code);
std::vector<uint8_t> slider_report(uint8_t position);
std::vector<uint8_t> dial_report(uint8_t direction);
std::vector<uint8_t> touch_report(uint16_t id);

// "prox1" tablet proximity; "tptr" tablet pointer; mouse events as name(button,click)
// with "+prox<enter>" for mouse proximity events; "scroll<n>"; keyboard as kdown<code>,
// kup<code>, flags<hex>.
std::string describe(const NVRecordedEvent& e);

class RecordingLauncher : public ProcessLauncher {
public:
    bool spawnDetached(const std::vector<std::string>& argv) override
    {
        launches.push_back(argv);
        return true;
    }
    std::vector<std::vector<std::string>> launches;
};

// What the dispatcher announced to the settings application, in order: "penData X,Y P",
// "muxIndex I screen S", "configChanged".
class AnnouncementLog {
public:
    explicit AnnouncementLog(NotificationCenter& center);
    std::vector<std::string> calls;
};

// A dispatcher on one 1000 × 800 display, a manual clock at t = 100 s and a recording
// window system; configure g_gi in SetUp of a derived fixture before calling start().
class InputTest : public ::testing::Test {
protected:
    InputTest();
    ~InputTest() override;

    void start();
    void feed(const std::vector<uint8_t>& report) { handler->handleData(report.data()); }
    // Events posted since the last call, spelled by describe().
    std::vector<std::string> take();

    ManualClock clock;
    FakeDisplays displays{{{1, {0, 0, 1000, 800}}}};
    FakeWorkspace workspace;
    RecordingWindowSystem ws{&clock};
    RecordingLauncher launcher;
    LocalNotificationCenter center;
    AnnouncementLog announced{center};
    std::unique_ptr<NVDataHandler> handler;
};

// A key function of the given kinds.
void set_key(NVEkey& k, uint32_t kinds, const char* name = "key");

} // namespace nvtest
