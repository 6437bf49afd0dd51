// A recording window system wired into NVMacFunc, with a known tablet and keyboard.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/events/NVMacFunc.h"
#include "core/events/ProcessLauncher.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/sim/RecordingWindowSystem.h"

namespace nvtest {

// A pen sample at a screen point, with pressure and tilt.
inline NVMacPenData pen_sample(double x, double y, uint32_t ps = 0, int8_t ax = 0, int8_t ay = 0)
{
    NVMacPenData p{};
    p.pos = {x, y};
    p.pd.ps = ps;
    p.pd.ax = ax;
    p.pd.ay = ay;
    return p;
}

} // namespace nvtest

class MacFuncTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_gi.ti.maxP = 2048;
        g_gi.ti.maxX = 32767;
        g_gi.ti.maxY = 20000;
        g_gi.hidConnect = rec.connectKeyboard();
        NVMacFunc::resetState();
        NVMacFunc::setWindowSystem(&rec);
    }
    void TearDown() override
    {
        NVMacFunc::setWindowSystem(nullptr);
        NVMacFunc::resetState();
        g_gi.hidConnect = 0;
    }

    const NVWSEvent& ws(size_t i) const { return rec.events().at(i).ws; }
    const NVHIDEvent& hid(size_t i) const { return rec.events().at(i).hid; }
    size_t count() const { return rec.events().size(); }

    static std::vector<uint32_t> fieldNumbers(const NVWSEvent& e)
    {
        std::vector<uint32_t> n;
        for (int k = 0; k < e.fieldCount; ++k)
            n.push_back(e.fields[k].number);
        return n;
    }
    static double value(const NVWSEvent& e, uint32_t number)
    {
        const NVWSField* f = e.field(number);
        EXPECT_NE(f, nullptr) << "field " << number;
        return f ? f->asDouble() : -12345.0;
    }

    static NVMacPenData pen(double x, double y, uint32_t ps = 0, int8_t ax = 0, int8_t ay = 0)
    {
        return nvtest::pen_sample(x, y, ps, ax, ay);
    }

    RecordingWindowSystem rec;
};

// Keeps the argument vectors it was asked to start.
class RecordingLauncher : public ProcessLauncher {
public:
    bool spawnDetached(const std::vector<std::string>& argv) override
    {
        started.push_back(argv);
        return succeed;
    }
    std::vector<std::vector<std::string>> started;
    bool succeed = true;
};
