// The pen page's drawing: leader lines, the nine pressure curves, the test stroke's width.
#include "settings/logic/NVPenPicture.h"

#include <gtest/gtest.h>

namespace {

TEST(PenPicture, LeaderRunsFromTheButtonCentreToItsFunctionButton)
{
    const NVLayoutEkey upper{{10, 40, 30, 60}, {}, 20, 50};
    const NVPenLeader l = nv_pen_leader(upper, {5, 7}, 1.0, 160, 24);
    EXPECT_EQ(l.from.x, 25);
    EXPECT_EQ(l.from.y, 57);
    EXPECT_EQ(l.to.x, 170);
    EXPECT_EQ(l.to.y, 57);
    EXPECT_EQ(l.buttonOrigin.x, 160);
    EXPECT_EQ(l.buttonOrigin.y, 45);
    const NVPenLeader half = nv_pen_leader(upper, {5, 7}, 0.5, 160, 24);
    EXPECT_EQ(half.from.x, 15);
    EXPECT_EQ(half.from.y, 32);
}

TEST(PenPicture, SoftStepsRiseAboveTheLineAndHardStepsBelow)
{
    const int w = 100;
    for (int step = -4; step <= 4; ++step) {
        const auto points = nv_press_curve_points(step, w);
        ASSERT_EQ(points.size(), 100u);
        EXPECT_EQ(points.front().y, 0) << step;
        for (size_t x = 1; x < points.size(); ++x)
            EXPECT_GE(points[x].y, points[x - 1].y) << step << " " << x; // rising
        if (step < 0)
            EXPECT_GT(points[50].y, 50) << step;
        if (step > 0)
            EXPECT_LT(points[50].y, 50) << step;
        EXPECT_LE(points.back().y, w);
    }
    EXPECT_EQ(nv_press_curve_points(0, w)[37].y, 37);
    EXPECT_EQ(nv_press_curve_points(9, w)[37].y, 37); // no curve of its own: linear
    EXPECT_GT(nv_press_curve_points(-4, w)[10].y, 60);
    EXPECT_LT(nv_press_curve_points(4, w)[90].y, 50);
    EXPECT_TRUE(nv_press_curve_points(0, 0).empty());
}

TEST(PenPicture, StrokeWidthFollowsPressureAboveTheFloor)
{
    EXPECT_NEAR(nv_press_stroke_width(8191, 1.0), 16.998, 0.001);
    EXPECT_EQ(nv_press_stroke_width(1000, 0.25), 1.0);
    EXPECT_EQ(nv_press_stroke_width(8191, 0.0), 1.0);
    EXPECT_NEAR(nv_press_stroke_width(1024, 0.5), 2.0, 1e-9);
}

} // namespace
