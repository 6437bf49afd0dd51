// DDC/CI: building and checking packets, and how long a slider's release takes to reach
// the monitor's bus through a display's queue (scripted monitor, its waits not slept).
#include "settings/logic/DDCCIControl.h"
#include "settings/logic/NVDdcPacket.h"

#include "tests/settings/FakeDdcMonitor.h"

#include <benchmark/benchmark.h>

#include <future>

static void BM_DdcPacket(benchmark::State& state)
{
    uint8_t value = 0;
    for (auto _ : state) {
        const NVDdcWritePacket w = nv_ddc_write_packet(NVVCP_BRIGHTNESS, value);
        const NVDdcReadPacket r = nv_ddc_read_packet(NVVCP_CONTRAST);
        NVDdcReply reply{0x6E, 0x88, 0x02, 0x00, NVVCP_CONTRAST, 0x00, 0x00, 100, 0x00, value, 0};
        reply[10] = nv_ddc_reply_checksum(reply);
        const NVDdcReading reading = nv_ddc_parse_reply(NVVCP_CONTRAST, reply);
        benchmark::DoNotOptimize(w);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(reading);
        ++value;
    }
}
BENCHMARK(BM_DdcPacket);

namespace {

class OneMonitor : public NVDdcDisplaySource {
public:
    nvtest::FakeDdcMonitor monitor;
    std::vector<DDCDisplay> displays() override { return {{0, 1, "Bench", "SN"}}; }
    std::unique_ptr<NVI2cPort> open(const DDCDisplay&) override { return monitor.port(); }
};

} // namespace

static void BM_SliderReleaseToI2cWrite(benchmark::State& state)
{
    OneMonitor source;
    DDCCIControl control(source);
    control.getDisplays();
    control.currentDisplayID = 0;
    uint8_t value = 0;
    for (auto _ : state) {
        std::promise<bool> written;
        control.write(NVVCP_BRIGHTNESS, value++, [&](bool ok) { written.set_value(ok); });
        if (!written.get_future().get())
            state.SkipWithError("the monitor refused the write");
    }
}
BENCHMARK(BM_SliderReleaseToI2cWrite)->UseRealTime();
