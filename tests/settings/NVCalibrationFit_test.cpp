// The calibration: crosses and their targets per rotation, the one-contact-per-cross rule,
// the least-squares fit in fixed point, and the fits that must never be saved.
#include "settings/logic/NVCalibrationFit.h"

#include "core/model/NVGeometry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr uint32_t kMaxX = 40000;
constexpr uint32_t kMaxY = 25000;

std::array<NVPoint, 9> exact_touches(uint32_t angle)
{
    std::array<NVPoint, 9> t{};
    for (int k = 0; k < 9; ++k)
        t[k] = nv_calibration_target(k, kMaxX, kMaxY, angle);
    return t;
}

TEST(CalibrationFit, CrossesFollowTheGridFromTheTopLeft)
{
    EXPECT_DOUBLE_EQ(nv_cross_center(0, 1000, 500).x, 100);
    EXPECT_DOUBLE_EQ(nv_cross_center(0, 1000, 500).y, 50);
    EXPECT_DOUBLE_EQ(nv_cross_center(5, 1000, 500).x, 900);
    EXPECT_DOUBLE_EQ(nv_cross_center(5, 1000, 500).y, 250);
    EXPECT_DOUBLE_EQ(nv_cross_center(8, 1000, 500).y, 450);
    EXPECT_DOUBLE_EQ(nv_cross_center(9, 1000, 500).x, 500); // past the last: the centre
    EXPECT_DOUBLE_EQ(nv_cross_center(-1, 1000, 500).y, 250);
}

TEST(CalibrationFit, FirstCrossPairsWithEachRotationsTarget)
{
    const NVPoint r0 = nv_calibration_target(0, kMaxX, kMaxY, 0);
    const NVPoint r90 = nv_calibration_target(0, kMaxX, kMaxY, 90);
    const NVPoint r180 = nv_calibration_target(0, kMaxX, kMaxY, 180);
    const NVPoint r270 = nv_calibration_target(0, kMaxX, kMaxY, 270);
    EXPECT_EQ(r0.x, 4000);
    EXPECT_EQ(r0.y, 2500);
    EXPECT_EQ(r90.x, 4000);
    EXPECT_EQ(r90.y, 22500);
    EXPECT_EQ(r180.x, 36000);
    EXPECT_EQ(r180.y, 22500);
    EXPECT_EQ(r270.x, 36000);
    EXPECT_EQ(r270.y, 2500);
    EXPECT_EQ(nv_calibration_target(4, kMaxX, kMaxY, 90).x, 20000);
    // An unknown angle counts as none.
    EXPECT_EQ(nv_calibration_target(2, kMaxX, kMaxY, 45).x, nv_calibration_target(2, kMaxX, kMaxY, 0).x);
    // Large resolutions do not wrap in the ninefold.
    EXPECT_EQ(nv_calibration_target(2, 1000000000u, 10, 0).x, 900000000);
}

TEST(CalibrationFit, ExactTouchesGiveTheIdentityInFixedPoint)
{
    for (uint32_t angle : {0u, 90u, 180u, 270u}) {
        SCOPED_TRACE(angle);
        const auto f = nv_calibration_fit(exact_touches(angle), kMaxX, kMaxY, angle);
        ASSERT_TRUE(f);
        EXPECT_NEAR((*f)[0], 65536, 1);
        EXPECT_NEAR((*f)[1], 0, 1);
        EXPECT_NEAR((*f)[2], 0, 2);
        EXPECT_NEAR((*f)[3], 0, 1);
        EXPECT_NEAR((*f)[4], 65536, 1);
        EXPECT_NEAR((*f)[5], 0, 2);
        EXPECT_EQ((*f)[6], 65536);
    }
}

TEST(CalibrationFit, ShiftedTouchesAreCorrectedByTheDriversFormula)
{
    // The pen reads 120 units right of and 80 above where it touches.
    auto touches = exact_touches(0);
    for (NVPoint& p : touches) {
        p.x += 120;
        p.y -= 80;
    }
    const auto f = nv_calibration_fit(touches, kMaxX, kMaxY, 0);
    ASSERT_TRUE(f);
    NVConfig cfg{};
    nv_store_calibration(&cfg, f);
    EXPECT_EQ(cfg.bCalibrated, 1);
    NVTabletInfo ti{};
    ti.bMonitor = 1;
    NVPoint p{20120, 12420};
    calibrate_point(&ti, &cfg, &p);
    EXPECT_NEAR(p.x, 20000, 1);
    EXPECT_NEAR(p.y, 12500, 1);
}

TEST(CalibrationFit, DegenerateAndHostileTouchesGiveNoFit)
{
    std::array<NVPoint, 9> same{};
    same.fill({5000, 5000});
    EXPECT_FALSE(nv_calibration_fit(same, kMaxX, kMaxY, 0));
    std::array<NVPoint, 9> line{};
    for (int k = 0; k < 9; ++k)
        line[k] = {1000 + 3000 * k, 2000 + 1500 * k};
    EXPECT_FALSE(nv_calibration_fit(line, kMaxX, kMaxY, 0));
    std::array<NVPoint, 9> zeros{};
    EXPECT_FALSE(nv_calibration_fit(zeros, kMaxX, kMaxY, 0)); // Σx = Σy = 0
    // Touches crowded into a few units: the factors would not fit in 32 bits.
    std::array<NVPoint, 9> tiny{};
    for (int k = 0; k < 9; ++k)
        tiny[k] = {100000 + k % 3, 100000 + k / 3};
    EXPECT_FALSE(nv_calibration_fit(tiny, kMaxX, kMaxY, 0));
    std::array<NVPoint, 9> huge{};
    for (int k = 0; k < 9; ++k)
        huge[k] = {INT32_MAX - (k % 3) * 1000, INT32_MIN + (k / 3) * 1000};
    const auto f = nv_calibration_fit(huge, kMaxX, kMaxY, 0);
    if (f) { // whatever comes out must be a usable fixed-point set
        EXPECT_EQ((*f)[6], 65536);
    }
}

TEST(CalibrationFit, RestoreClearsAllSevenFactors)
{
    NVConfig cfg{};
    nv_store_calibration(&cfg, nv_calibration_fit(exact_touches(0), kMaxX, kMaxY, 0));
    nv_store_calibration(&cfg, std::nullopt);
    EXPECT_EQ(cfg.bCalibrated, 0);
    for (int32_t f : cfg.calibrateFactor)
        EXPECT_EQ(f, 0);
}

TEST(CalibrationFit, OneContactPerCrossAndTheLastContactOutlivesTheSession)
{
    nv_calibration_last_contact() = {0, 0};
    NVCalibrationCollector c;
    using Step = NVCalibrationCollector::Step;
    EXPECT_EQ(c.handlePenData(200, 200), Step::Ignored); // within 316 of (0, 0)
    EXPECT_EQ(c.handlePenData(4000, 2500), Step::Next);
    EXPECT_EQ(c.handlePenData(4100, 2600), Step::Ignored); // same touch again
    EXPECT_EQ(c.handlePenData(4316, 2500), Step::Ignored); // 316² < 100000
    EXPECT_EQ(c.handlePenData(4317, 2500), Step::Next);
    EXPECT_EQ(c.count(), 2);
    // Far apart values do not overflow into a small distance.
    EXPECT_EQ(c.handlePenData(INT32_MIN, INT32_MIN), Step::Next);
    EXPECT_EQ(c.handlePenData(INT32_MAX, INT32_MAX), Step::Next);
    for (int k = 4; k < 8; ++k)
        EXPECT_EQ(c.handlePenData(k * 1000, 0), Step::Next);
    EXPECT_EQ(c.handlePenData(20000, 20000), Step::Complete);
    EXPECT_EQ(c.handlePenData(30000, 30000), Step::Close);
    EXPECT_EQ(c.contacts()[0].x, 4000);
    // A new session starts from the last contact of the one before.
    NVCalibrationCollector next;
    EXPECT_EQ(next.handlePenData(20100, 20000), Step::Ignored);
}

} // namespace
