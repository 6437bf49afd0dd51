#include "core/model/NVGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

std::unique_ptr<NVConfig> config()
{
    auto cfg = std::make_unique<NVConfig>();
    std::memset(cfg.get(), 0, sizeof(NVConfig));
    return cfg;
}

void expect_rect(const NVRect& r, int l, int t, int rr, int b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

} // namespace

TEST(Rotation, PointsRotateAroundTheUnrotatedSpace)
{
    const NVSize wh{100, 50};
    NVPoint p{10, 20};
    rotate_point_90(&wh, &p);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 10);
    p = {10, 20};
    rotate_point_180(&wh, &p);
    EXPECT_EQ(p.x, 90);
    EXPECT_EQ(p.y, 30);
    p = {10, 20};
    rotate_point_270(&wh, &p);
    EXPECT_EQ(p.x, 20);
    EXPECT_EQ(p.y, 90);
}

TEST(Rotation, RatioPointsAndInPlaceUse)
{
    NVPointRatio p{0.25f, 0.75f};
    pt_ratio_rotate_90(&p, &p); // in place: the input is read before it is written
    EXPECT_FLOAT_EQ(p.x, 0.25f);
    EXPECT_FLOAT_EQ(p.y, 0.25f);
    NVPointRatio q{0.25f, 0.75f}, out{};
    pt_ratio_rotate_180(&q, &out);
    EXPECT_FLOAT_EQ(out.x, 0.75f);
    EXPECT_FLOAT_EQ(out.y, 0.25f);
    pt_ratio_rotate_270(&q, &out);
    EXPECT_FLOAT_EQ(out.x, 0.75f);
    EXPECT_FLOAT_EQ(out.y, 0.75f);
}

TEST(Rotation, RectanglesKeepTheirEdgesOrdered)
{
    const NVRect in{10, 20, 30, 45};
    NVRect out{};
    rect_rotate_90(&in, &out, 100, 50);
    expect_rect(out, 5, 10, 30, 30);
    rect_rotate_180(&in, &out, 100, 50);
    expect_rect(out, 70, 5, 90, 30);
    rect_rotate_270(&in, &out, 100);
    expect_rect(out, 20, 70, 45, 90);
    NVRect self = in;
    rect_rotate_90(&self, &self, 100, 50);
    expect_rect(self, 5, 10, 30, 30);
}

TEST(Rotation, RatioRectangles)
{
    const NVRectRatio in{0.1f, 0.2f, 0.3f, 0.4f};
    NVRectRatio out{};
    rect_ratio_rotate_90(&in, &out);
    EXPECT_FLOAT_EQ(out.left, 0.6f);
    EXPECT_FLOAT_EQ(out.top, 0.1f);
    EXPECT_FLOAT_EQ(out.right, 0.8f);
    EXPECT_FLOAT_EQ(out.bottom, 0.3f);
    rect_ratio_rotate_180(&in, &out);
    EXPECT_FLOAT_EQ(out.left, 0.7f);
    EXPECT_FLOAT_EQ(out.top, 0.6f);
    EXPECT_FLOAT_EQ(out.right, 0.9f);
    EXPECT_FLOAT_EQ(out.bottom, 0.8f);
    rect_ratio_rotate_270(&in, &out);
    EXPECT_FLOAT_EQ(out.left, 0.2f);
    EXPECT_FLOAT_EQ(out.top, 0.7f);
    EXPECT_FLOAT_EQ(out.right, 0.4f);
    EXPECT_FLOAT_EQ(out.bottom, 0.9f);
}

TEST(Projection, RatiosAndRectanglesOfRatios)
{
    const NVRect r{100, 200, 300, 600};
    NVPointRatio pr{};
    const NVPoint p{150, 300};
    ratio_pt_in_rect(&p, &r, &pr);
    EXPECT_FLOAT_EQ(pr.x, 0.25f);
    EXPECT_FLOAT_EQ(pr.y, 0.25f);

    const NVRectRatio q{0.1f, 0.25f, 0.5f, 0.999f};
    NVRect out{};
    compute_ratio_of_rect(&r, &q, &out);
    expect_rect(out, 120, 300, 200, 599); // truncated

    NVRectRatio back{};
    const NVRect in{150, 300, 250, 500};
    compute_rect_of_ratio(&r, &in, &back);
    EXPECT_FLOAT_EQ(back.left, 0.25f);
    EXPECT_FLOAT_EQ(back.top, 0.25f);
    EXPECT_FLOAT_EQ(back.right, 0.75f);
    EXPECT_FLOAT_EQ(back.bottom, 0.75f);
}

TEST(Projection, PointsScaleAndTruncate)
{
    int32_t x = 999, y = 333;
    project_pt_to_rect(&x, &y, 1000, 1000, 1920, 1080);
    EXPECT_EQ(x, 1918); // 1918.08 truncated
    EXPECT_EQ(y, 359);  // 359.64 truncated

    NVPoint p{500, 250};
    const NVSize from{1000, 500}, to{200, 100};
    project_pt_to_rect1(&p, &from, &to);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);

    const NVRect to2{-1920, 0, 0, 1080};
    NVPoint q{500, 500};
    project_pt_to_rect3(&q, 1000, 1000, &to2);
    EXPECT_EQ(q.x, -960);
    EXPECT_EQ(q.y, 540);
}

TEST(Projection, RectToRect)
{
    const NVRect from{0, 0, 1000, 500};
    const NVRect in{250, 100, 500, 400};
    const NVRect to{100, 100, 300, 200};
    NVRect out{};
    project_rect_to_rect(&from, &in, &to, &out);
    expect_rect(out, 150, 120, 200, 180);
    project_rect_to_rect1(1000, 500, &in, &to, &out);
    expect_rect(out, 150, 120, 200, 180);
}

TEST(Projection, DegenerateSpacesNeverConvertNaNOrInfinity)
{
    int32_t x = 10, y = 0;
    project_pt_to_rect(&x, &y, 0, 0, 1920, 1080); // 10/0 = inf, 0/0 = NaN
    EXPECT_EQ(x, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(y, 0);

    const NVRect empty{5, 5, 5, 5};
    const NVRectRatio q{0.5f, 0.5f, 1.0f, 1.0f};
    NVRect out{};
    compute_ratio_of_rect(&empty, &q, &out);
    expect_rect(out, 5, 5, 5, 5);

    const NVRect in{1, 1, 2, 2};
    project_rect_to_rect(&empty, &in, &empty, &out); // (1 - 5) / 0 * 0 = NaN, taken as 0
    expect_rect(out, 0, 0, 0, 0);

    EXPECT_EQ(nv_trunc_i32(std::nan("")), 0);
    EXPECT_EQ(nv_trunc_i32(-INFINITY), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(nv_trunc_i32(-2.9), -2);
    EXPECT_EQ(nv_trunc_i64(1e300), std::numeric_limits<int64_t>::max());
}

TEST(HitTest, EdgesAreOutside)
{
    const NVRect r{10, 20, 30, 40};
    const NVPoint inside{11, 21}, left{10, 25}, top{15, 20}, right{30, 25}, bottom{15, 40};
    EXPECT_TRUE(is_pt_in_rect(&inside, &r));
    EXPECT_FALSE(is_pt_in_rect(&left, &r));
    EXPECT_FALSE(is_pt_in_rect(&top, &r));
    EXPECT_FALSE(is_pt_in_rect(&right, &r));
    EXPECT_FALSE(is_pt_in_rect(&bottom, &r));
}

TEST(HitTest, RingKeysExcludeTheirHoleOnly)
{
    const NVLayoutEkey ring{{0, 0, 100, 100}, {25, 25, 75, 75}, 50, 50};
    const NVPoint inRing{10, 50}, inHole{50, 50}, onHoleEdge{25, 50};
    EXPECT_TRUE(is_pt_in_NVLayoutEkey(&inRing, &ring));
    EXPECT_FALSE(is_pt_in_NVLayoutEkey(&inHole, &ring));
    EXPECT_TRUE(is_pt_in_NVLayoutEkey(&onHoleEdge, &ring));
    const NVLayoutEkey plain{{0, 0, 100, 100}, {0, 0, 0, 0}, 50, 50};
    EXPECT_TRUE(is_pt_in_NVLayoutEkey(&inHole, &plain));
}

TEST(HitTest, ClampingIncludesEdges)
{
    const NVRect r{0, 0, 100, 50};
    NVPoint p{-5, 70};
    bound_to_rect(&r, &p);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 50);
    const NVRectRatio rr{0.1f, 0.1f, 0.9f, 0.9f};
    NVPointRatio q{1.5f, 0.05f};
    bound_to_rect_ratio(&rr, &q);
    EXPECT_FLOAT_EQ(q.x, 0.9f);
    EXPECT_FLOAT_EQ(q.y, 0.1f);
}

class PressureCurve : public ::testing::TestWithParam<int> {};

TEST_P(PressureCurve, RisesFromZeroToMaxWithoutLeavingTheRange)
{
    auto cfg = config();
    cfg->pressFactor = GetParam();
    for (uint32_t m : {1023u, 2047u, 8191u, 16383u, 65535u}) {
        EXPECT_EQ(calibrate_press(cfg.get(), 0, m), 0u);
        const uint32_t top = calibrate_press(cfg.get(), m, m);
        EXPECT_GE(top + 1, m) << "f=" << GetParam() << " m=" << m;
        EXPECT_LE(top, m);
        uint32_t prev = 0;
        for (uint32_t x = 1; x <= m; x += (m > 9000 ? 7 : 1)) {
            const uint32_t y = calibrate_press(cfg.get(), x, m);
            ASSERT_GE(y, prev) << "f=" << GetParam() << " m=" << m << " x=" << x;
            ASSERT_LE(y, m);
            prev = y;
        }
        // Raw values above maxP (never sent by a healthy tablet) are taken as maxP.
        EXPECT_EQ(calibrate_press(cfg.get(), m + 500, m), top);
        EXPECT_EQ(calibrate_press(cfg.get(), 0xFFFFFFFFu, m), top);
    }
}

INSTANTIATE_TEST_SUITE_P(AllCurves, PressureCurve, ::testing::Range(-4, 5));

TEST(PressureCurveValues, KnownPoints)
{
    auto cfg = config();
    const uint32_t m = 8191;
    cfg->pressFactor = 2;
    EXPECT_EQ(calibrate_press(cfg.get(), 0, m), 0u);
    EXPECT_EQ(calibrate_press(cfg.get(), m, m), m);
    cfg->pressFactor = 3;
    EXPECT_EQ(calibrate_press(cfg.get(), m / 2, m), 511u); // m * (4095/8191)^4 = 511.8
    cfg->pressFactor = 4;
    EXPECT_EQ(calibrate_press(cfg.get(), m / 2, m), 31u);
    cfg->pressFactor = -3;
    EXPECT_EQ(calibrate_press(cfg.get(), m / 2, m), 6887u); // m * 0.49994^0.25
    cfg->pressFactor = -4;
    EXPECT_EQ(calibrate_press(cfg.get(), m / 2, m), 7511u);
    cfg->pressFactor = -2;
    EXPECT_EQ(calibrate_press(cfg.get(), m / 2, m), 7093u); // sqrt(m^2 - (x-m)^2)
    cfg->pressFactor = 2;
    EXPECT_EQ(calibrate_press(cfg.get(), m / 2, m), 1097u); // m - sqrt(m^2 - x^2)
    cfg->pressFactor = -1;
    EXPECT_GT(calibrate_press(cfg.get(), m / 2, m), m / 2);
    cfg->pressFactor = 1;
    EXPECT_LT(calibrate_press(cfg.get(), m / 2, m), m / 2);
    for (int f : {7, -5, 100}) {
        cfg->pressFactor = f;
        EXPECT_EQ(calibrate_press(cfg.get(), 1234, m), 1234u) << f;
    }
    cfg->pressFactor = 3;
    EXPECT_EQ(calibrate_press(cfg.get(), 100, 0), 0u) << "maxP 0 never divides by zero";
}

TEST(PressureCurveValues, CircleAndPowerHelpers)
{
    EXPECT_EQ(equation_power(50, 2, 100), 25);
    EXPECT_EQ(equation_circle(0, 1, 100, 100), 0u);
    EXPECT_EQ(equation_circle(100, 1, 100, 100), 100u);
    EXPECT_EQ(equation_circle(50, 0, 100, 100), 13u); // 100 - sqrt(100^2 - 50^2) = 13.4
}

TEST(PressureTrace, SilentUnlessSwitchedOn)
{
    auto cfg = config();
    testing::internal::CaptureStdout();
    calibrate_press(cfg.get(), 100, 8191);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    g_bTracePressure = true;
    testing::internal::CaptureStdout();
    calibrate_press(cfg.get(), 100, 8191);
    calibrate_press(cfg.get(), 8191, 8191);
    g_bTracePressure = false;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "100\n");
}

TEST(DisplayCalibration, AppliesFixedPointAffineOnlyToCalibratedDisplays)
{
    auto cfg = config();
    NVTabletInfo ti{};
    ti.bMonitor = 0x02;
    cfg->bCalibrated = 1;
    int32_t identity[7] = {65536, 0, 0, 0, 65536, 0, 65536};
    std::memcpy(cfg->calibrateFactor, identity, sizeof identity);
    NVPoint p{1234, 5678};
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, 1234);
    EXPECT_EQ(p.y, 5678);

    cfg->calibrateFactor[2] = 65536 * 10;
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, 1244);
    EXPECT_EQ(p.y, 5678);

    // y' uses the x from before the update; rounding adds D6/2 before dividing.
    const int32_t swap[7] = {0, 65536, 0, 65536, 0, 32768, 65536};
    std::memcpy(cfg->calibrateFactor, swap, sizeof swap);
    p = {3, 7};
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 4); // 3 + 0.5 rounds up

    ti.bMonitor = 0;
    p = {3, 7};
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, 3) << "a tablet without a screen is never calibrated";

    ti.bMonitor = 0x08;
    cfg->bCalibrated = 0;
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, 3);
}

TEST(DisplayCalibration, ZeroDivisorAndHugeCoefficientsAreSafe)
{
    auto cfg = config();
    NVTabletInfo ti{};
    ti.bMonitor = 0x0A;
    cfg->bCalibrated = 1;
    cfg->calibrateFactor[0] = 65536;
    cfg->calibrateFactor[6] = 0;
    NVPoint p{100, 200};
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 200);

    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t hostile[7] = {big, big, big, -big, -big, -big, 1};
    std::memcpy(cfg->calibrateFactor, hostile, sizeof hostile);
    p = {big, big};
    calibrate_point(&ti, cfg.get(), &p);
    EXPECT_EQ(p.x, big);
    EXPECT_EQ(p.y, std::numeric_limits<int32_t>::min());
}
