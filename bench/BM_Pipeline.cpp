// Reports through the whole input path into a window system that only counts: the cost
// per report and the heap allocations it makes.
#include "core/events/NVMacFunc.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/FakeWorkspace.h"
#include "platform/sim/ManualClock.h"

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

std::atomic<uint64_t> g_allocations{0};

} // namespace

void* operator new(std::size_t n)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Report = std::array<uint8_t, 12>;

class CountingWindowSystem : public WindowSystem {
public:
    void postEvent(const NVWSEvent& e) override { events += static_cast<uint64_t>(e.type != NVET_NULL); }
    void postHIDEvent(uint32_t, const NVHIDEvent&) override { ++hidEvents; }
    uint32_t connectKeyboard() override { return 1; }
    void disconnectKeyboard(uint32_t) override {}
    uint64_t events = 0;
    uint64_t hidEvents = 0;
};

Report pen_report(uint8_t type, uint32_t x, uint32_t y, uint16_t p, int8_t ax, int8_t ay)
{
    return {0x08, type, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), uint8_t(p), uint8_t(p >> 8),
            uint8_t(x >> 16), uint8_t(y >> 16), uint8_t(ax), uint8_t(ay)};
}

// A stroke as a tablet sends it: the pen hovers in, touches down, draws a curve with
// rising and falling pressure and changing tilt, lifts and hovers away.
std::vector<Report> pen_stroke()
{
    std::vector<Report> s;
    for (uint32_t i = 0; i < 30; ++i)
        s.push_back(pen_report(0x80, 10000 + 40 * i, 12000 + 25 * i, 0, 10, -12));
    for (uint32_t i = 0; i < 200; ++i) {
        const uint16_t p = static_cast<uint16_t>(i < 100 ? 200 + 70 * i : 200 + 70 * (200 - i));
        s.push_back(pen_report(0x81, 11200 + 90 * i, 12750 + (i * i) % 5000, p, int8_t(10 + i % 20),
                               int8_t(-12 + i % 9)));
    }
    for (uint32_t i = 0; i < 30; ++i)
        s.push_back(pen_report(0x80, 29200 - 40 * i, 16000, 0, 20, -5));
    return s;
}

// The agent's state for a plain tablet mapped onto two side-by-side displays.
struct Pipeline {
    Pipeline()
    {
        std::memset(&g_gi.ti, 0, sizeof g_gi.ti);
        std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
        std::memset(&g_gi.tabletLayout, 0, sizeof g_gi.tabletLayout);
        currentAppIndex_kernel = 0;
        g_gi.ti = NVTabletInfo{};
        g_gi.ti.devType = 1;
        g_gi.ti.maxX = 50800;
        g_gi.ti.maxY = 31750;
        g_gi.ti.maxP = 16383;
        g_gi.ti.hbtnNum = 8;
        g_gi.cfg.bImproveLinearity = 1;
        g_gi.cfg.bCtrlCursor = 1;
        g_gi.cfg.bAbsoluteMode = 1;
        g_gi.cfg.bEnableHBtn = 1;
        g_gi.cfg.pressFactor = 2;
        g_gi.cfg.curScreenIndex = 2;
        g_gi.cfg.workarea = {0.05f, 0.05f, 0.95f, 0.95f};
        NVMacFunc::resetState();
        NVMacFunc::setWindowSystem(&ws);
        NVMacFunc::setWorkspace(&workspace);
        g_gi.hidConnect = ws.connectKeyboard();
        workspace.activate("/usr/bin/krita", "krita");
        handler = std::make_unique<NVDataHandler>(displays, clock);
    }
    ~Pipeline()
    {
        handler.reset();
        NVMacFunc::setWindowSystem(nullptr);
        NVMacFunc::setWorkspace(nullptr);
        g_gi.hidConnect = 0;
    }

    FakeDisplays displays{{{1, {0, 0, 2560, 1440}}, {2, {2560, 0, 1920, 1080}}}};
    ManualClock clock;
    FakeWorkspace workspace;
    CountingWindowSystem ws;
    std::unique_ptr<NVDataHandler> handler;
};

void BM_PipelinePenStroke(benchmark::State& state)
{
    Pipeline pipe;
    const std::vector<Report> stroke = pen_stroke();
    pipe.clock.set(1000.0);
    for (const Report& r : stroke) { // warm-up: every path of the stroke once
        pipe.clock.advance(0.005);
        pipe.handler->handleData(r.data());
    }
    size_t i = 0;
    const uint64_t allocationsBefore = g_allocations.load();
    for (auto _ : state) {
        pipe.clock.advance(0.005);
        pipe.handler->handleData(stroke[i].data());
        if (++i == stroke.size())
            i = 0;
    }
    const uint64_t allocations = g_allocations.load() - allocationsBefore;
    state.SetItemsProcessed(state.iterations());
    state.counters["allocs/report"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["events/report"] =
        static_cast<double>(pipe.ws.events) / static_cast<double>(state.iterations() + stroke.size());
}
BENCHMARK(BM_PipelinePenStroke);

// An express key typing Ctrl+Shift+S, pressed and released: two reports per iteration.
void BM_PipelineExpressKeys(benchmark::State& state)
{
    Pipeline pipe;
    for (int k = 0; k < 8; ++k) {
        NVEkey& key = g_gi.cfg.contexts[0].hbtns[k];
        key.funcBit = NVEKT_KBTN;
        std::strcpy(key.name, "Save");
        key.kbtn.bCtrl = 1;
        key.kbtn.bShift = 1;
        key.kbtn.kbKeys[0] = 1;
    }
    const Report down{0x08, 0xE0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0};
    const Report up{0x08, 0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (auto _ : state) {
        pipe.handler->handleData(down.data());
        pipe.handler->handleData(up.data());
    }
    state.SetItemsProcessed(2 * state.iterations());
    state.counters["hid/press"] = static_cast<double>(pipe.ws.hidEvents) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PipelineExpressKeys);

} // namespace
