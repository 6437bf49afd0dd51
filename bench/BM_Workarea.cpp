// The work-area page and the calibration: nine contacts to the seven factors, and one drag
// step of the work area through the arithmetic and a repaint of the drawing, offscreen.
#include "bench/BenchApp.h"
#include "settings/logic/NVCalibrationFit.h"
#include "settings/logic/NVWorkareaGeometry.h"
#include "settings/ui/NVWorkareaView.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void BM_CalibrationFit(benchmark::State& state)
{
    std::array<NVPoint, kNVCalibrationPoints> contacts{};
    for (int k = 0; k < kNVCalibrationPoints; ++k) {
        const NVPoint t = nv_calibration_target(k, 47923, 26972, 0);
        contacts[k] = {t.x + 37 * (k % 2), t.y - 53 * (k % 3)};
    }
    for (auto _ : state) {
        auto f = nv_calibration_fit(contacts, 47923, 26972, 0);
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_CalibrationFit);

void BM_WorkareaDrag(benchmark::State& state)
{
    nv_bench_app();
    NVWorkareaView view;
    view.resize(600, 440);
    QImage tablet(700, 420, QImage::Format_ARGB32);
    tablet.fill(Qt::darkGray);
    QImage shot(1920, 1080, QImage::Format_RGB32);
    shot.fill(Qt::darkBlue);
    view.setTablet(tablet, 0);
    view.setSnapshot(shot, nv_fit_picture(view.screenFrame(), shot.width(), shot.height(), NVFitVertical::Top));
    const NVWorkareaRects rects =
        nv_workarea_rects({0.1f, 0.1f, 0.9f, 0.9f}, {0, 0, 1, 1}, 0, view.tabletFrame(), tablet.width(), tablet.height());
    view.setRects(rects.picture, rects.penArea, rects.workarea);
    NVDragBands left;
    left.left = true;
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        NVViewRect w = rects.workarea;
        const NVViewPoint p{w.x + 1 + (step++ % 50), w.y + w.height / 2};
        nv_drag_workarea(&w, left, p, rects.penArea);
        const NVRectRatio stored = nv_workarea_from_rect(w, rects.penArea, 0);
        benchmark::DoNotOptimize(stored);
        view.setRects(rects.picture, rects.penArea, w);
        view.render(&target);
    }
}
BENCHMARK(BM_WorkareaDrag);

} // namespace
