#include "settings/logic/NVCalibrationFit.h"

#include "core/log/NVLog.h"

#include <cmath>
#include <limits>

NVCrossPoint nv_cross_center(int k, double w, double h)
{
    if (k < 0 || k >= kNVCalibrationPoints)
        return {w * 5 / 10, h * 5 / 10};
    static constexpr int kTenths[3] = {1, 5, 9};
    return {w * kTenths[k % 3] / 10, h * kTenths[k / 3] / 10};
}

NVPoint nv_calibration_target(int k, uint32_t maxX, uint32_t maxY, uint32_t angle)
{
    // Unsigned arithmetic as the agent's tablet units; 64 bits keep W·9 from wrapping.
    const uint64_t w = maxX;
    const uint64_t h = maxY;
    const int32_t x[3] = {static_cast<int32_t>(w / 10), static_cast<int32_t>(w * 5 / 10),
                          static_cast<int32_t>(w * 9 / 10)};
    const int32_t y[3] = {static_cast<int32_t>(h / 10), static_cast<int32_t>(h * 5 / 10),
                          static_cast<int32_t>(h * 9 / 10)};
    const int r = k / 3;
    const int c = k % 3;
    switch (angle) {
    case 90: return {x[r], y[2 - c]};
    case 180: return {x[2 - c], y[2 - r]};
    case 270: return {x[2 - r], y[c]};
    default: return {x[c], y[r]};
    }
}

namespace {

struct Affine {
    double a, b, c;
};

// One axis of the fit: target = a·x + b·y + c, from the normal equations normalised by
// Σx, Σy and the count, solved by Cramer's rule.
std::optional<Affine> fit_axis(const double (&x)[9], const double (&y)[9], const double (&t)[9])
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0, st = 0, sxt = 0, syt = 0;
    for (int i = 0; i < 9; ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
        syy += y[i] * y[i];
        st += t[i];
        sxt += x[i] * t[i];
        syt += y[i] * t[i];
    }
    if (sx == 0 || sy == 0)
        return std::nullopt;
    const double a11 = sxx / sx - sx / 9, a12 = sxy / sx - sy / 9, r1 = sxt / sx - st / 9;
    const double a21 = sxy / sy - sx / 9, a22 = syy / sy - sy / 9, r2 = syt / sy - st / 9;
    const double det = a11 * a22 - a21 * a12;
    // Collinear or coincident contacts cancel the two products up to rounding.
    const double scale = std::fabs(a11 * a22) + std::fabs(a21 * a12);
    if (!std::isfinite(det) || !(std::fabs(det) > scale * 1e-9))
        return std::nullopt;
    Affine f;
    f.a = (r1 * a22 - a12 * r2) / det;
    f.b = (a11 * r2 - a21 * r1) / det;
    f.c = st / 9 - f.a * sx / 9 - f.b * sy / 9;
    return f;
}

std::optional<int32_t> fixed_point(double v)
{
    const double scaled = std::trunc(v * kNVCalibrationDivisor);
    if (!std::isfinite(scaled) || scaled < std::numeric_limits<int32_t>::min() ||
        scaled > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(scaled);
}

} // namespace

std::optional<NVCalibrationFactors> nv_calibration_fit(const std::array<NVPoint, kNVCalibrationPoints>& contacts,
                                                       uint32_t maxX, uint32_t maxY, uint32_t angle)
{
    double x[9], y[9], tx[9], ty[9];
    for (int k = 0; k < 9; ++k) {
        x[k] = contacts[k].x;
        y[k] = contacts[k].y;
        const NVPoint t = nv_calibration_target(k, maxX, maxY, angle);
        tx[k] = t.x;
        ty[k] = t.y;
    }
    const std::optional<Affine> fx = fit_axis(x, y, tx);
    const std::optional<Affine> fy = fit_axis(x, y, ty);
    if (!fx || !fy) {
        nv_log("Calibration: the touches give no fit");
        return std::nullopt;
    }
    nv_log("Carlibration Result:%f,%f,%f,%f,%f,%f", fx->a, fx->b, fx->c, fy->a, fy->b, fy->c);
    NVCalibrationFactors out{};
    const double coef[6] = {fx->a, fx->b, fx->c, fy->a, fy->b, fy->c};
    for (int i = 0; i < 6; ++i) {
        const std::optional<int32_t> v = fixed_point(coef[i]);
        if (!v)
            return std::nullopt;
        out[i] = *v;
    }
    out[6] = kNVCalibrationDivisor;
    return out;
}

void nv_store_calibration(NVConfig* cfg, const std::optional<NVCalibrationFactors>& factors)
{
    for (int i = 0; i < 7; ++i)
        cfg->calibrateFactor[i] = factors ? (*factors)[i] : 0;
    cfg->bCalibrated = factors ? 1 : 0;
}

NVPoint& nv_calibration_last_contact()
{
    static NVPoint last{0, 0};
    return last;
}

NVCalibrationCollector::Step NVCalibrationCollector::handlePenData(int32_t x, int32_t y)
{
    NVPoint& last = nv_calibration_last_contact();
    // In doubles: squares of 32-bit differences overflow 64-bit integers.
    const double dx = static_cast<double>(x) - last.x;
    const double dy = static_cast<double>(y) - last.y;
    if (dx * dx + dy * dy < 100000)
        return Step::Ignored;
    if (count_ >= kNVCalibrationPoints)
        return Step::Close;
    contacts_[count_++] = {x, y};
    last = {x, y};
    return count_ < kNVCalibrationPoints ? Step::Next : Step::Complete;
}
