// Event synthesis on the pen path: through NVMacFunc, and the uinput encoding of a report.
#include "core/events/NVMacFunc.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/linux/UinputWindowSystem.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

class CountingWindowSystem : public WindowSystem {
public:
    void postEvent(const NVWSEvent& e) override
    {
        ++events;
        fields += static_cast<uint64_t>(e.fieldCount);
    }
    void postHIDEvent(uint32_t, const NVHIDEvent&) override { ++events; }
    uint32_t connectKeyboard() override { return 1; }
    void disconnectKeyboard(uint32_t) override {}

    uint64_t events = 0;
    uint64_t fields = 0;
};

NVMacPenData sample(double x, double y, uint32_t ps)
{
    NVMacPenData p{};
    p.pos = {x, y};
    p.pd.ps = ps;
    p.pd.ax = 10;
    p.pd.ay = -12;
    return p;
}

// A hover, a tip-down, a drag and a tip-up, with the tablet pointer events that come
// with each sample.
void BM_EventsPenStroke(benchmark::State& state)
{
    g_gi.ti.maxP = 8191;
    g_gi.ti.maxX = 32767;
    g_gi.ti.maxY = 20000;
    CountingWindowSystem ws;
    NVMacFunc::resetState();
    NVMacFunc::setWindowSystem(&ws);
    for (auto _ : state) {
        NVMacPenData last = sample(100, 100, 0);
        NVMacFunc::sendTabletProximityEvent(last, 0, true);
        NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, last, last, 0, true);
        for (int i = 0; i < 8; ++i) {
            const NVMacPenData p = sample(100 + i, 100, 0);
            NVMacFunc::sendTabletPointerEvent(p, 0);
            NVMacFunc::sendMousePointerEvent(NVET_MOUSE_MOVED, 0, p, last, 0);
            last = p;
        }
        for (int i = 0; i < 40; ++i) {
            const NVMacPenData p = sample(108 + i, 100 + i, 2000 + 100 * static_cast<uint32_t>(i));
            NVMacFunc::sendTabletPointerEvent(p, 1);
            NVMacFunc::sendMousePointerEvent(i ? NVET_LEFT_MOUSE_DRAGGED : NVET_LEFT_MOUSE_DOWN, 0, p, last, 1);
            last = p;
        }
        NVMacFunc::sendTabletPointerEvent(last, 1);
        NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_UP, 0, last, last, 1);
    }
    benchmark::DoNotOptimize(ws.fields);
    state.SetItemsProcessed(static_cast<int64_t>(ws.events));
    NVMacFunc::setWindowSystem(nullptr);
    NVMacFunc::resetState();
}
BENCHMARK(BM_EventsPenStroke);

// One dragged pen sample into the pen device's frame, written to /dev/null.
void BM_UinputEncodePenReport(benchmark::State& state)
{
    g_gi.ti.maxP = 8191;
    const int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    FakeDisplays displays(std::vector<NVDisplayInfo>{{1, {0, 0, 1920, 1080}}, {2, {1920, 0, 2560, 1440}}});
    ManualClock clock;
    UinputWindowSystem ws({fd, fd, fd}, displays, clock);
    NVMacFunc::resetState();
    NVMacFunc::setWindowSystem(&ws);
    NVMacPenData last = sample(500, 500, 4000);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DOWN, 0, last, last, 1);
    int i = 0;
    for (auto _ : state) {
        const NVMacPenData p = sample(500 + (i & 1023), 500, 4000 + static_cast<uint32_t>(i & 1023));
        NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, p, last, 1);
        last = p;
        ++i;
    }
    // A dragged sample's frame: x, y, two tilts, pressure and the report marker.
    const int64_t frameBytes = 6 * static_cast<int64_t>(sizeof(input_event));
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * frameBytes);
    state.counters["bytes_per_frame"] = static_cast<double>(frameBytes);
    NVMacFunc::setWindowSystem(nullptr);
    NVMacFunc::resetState();
    close(fd);
}
BENCHMARK(BM_UinputEncodePenReport);

} // namespace
