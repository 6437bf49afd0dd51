// Report decoding, pressure curves and display calibration: the per-sample arithmetic.
#include "core/device/libCross/nvParse.h"
#include "core/model/NVGeometry.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

void BM_ReportDecode(benchmark::State& state)
{
    uint8_t report[NV_REPORT_SIZE] = {0x08, 0x81, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10, 0x01, 0x02, 0xF0, 0x10};
    uint32_t i = 0;
    for (auto _ : state) {
        report[2] = static_cast<uint8_t>(i++);
        benchmark::DoNotOptimize(report);
        if (is_invalid_report(report))
            continue;
        uint32_t sum = report_type(report) + report_x(report) + report_y(report) + report_p(report);
        sum += static_cast<uint32_t>(report_ax(report) + report_ay(report));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReportDecode);

void BM_PressureCurve(benchmark::State& state)
{
    auto cfg = std::make_unique<NVConfig>();
    std::memset(cfg.get(), 0, sizeof(NVConfig));
    cfg->pressFactor = static_cast<int32_t>(state.range(0));
    uint32_t x = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calibrate_press(cfg.get(), x, 8191));
        x = x % 8191 + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PressureCurve)->DenseRange(-4, 4);

void BM_CalibratePoint(benchmark::State& state)
{
    auto cfg = std::make_unique<NVConfig>();
    std::memset(cfg.get(), 0, sizeof(NVConfig));
    const int32_t k[7] = {65010, 120, -3400, -90, 65800, 2100, 65536};
    std::memcpy(cfg->calibrateFactor, k, sizeof k);
    cfg->bCalibrated = 1;
    NVTabletInfo ti{};
    ti.bMonitor = 0x02;
    int32_t i = 0;
    for (auto _ : state) {
        NVPoint p{i & 0xFFFF, (i * 7) & 0xFFFF};
        calibrate_point(&ti, cfg.get(), &p);
        benchmark::DoNotOptimize(p);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalibratePoint);

} // namespace
