// The work-area page's arithmetic: picture fit, rectangles and fractions both ways under
// every rotation, the picture's turn, the drag bands and their clamps, typed fractions,
// the screen-ratio rule and the screen menu.
#include "settings/logic/NVWorkareaGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void expect_ratio(const NVRectRatio& r, float l, float t, float rt, float b, float eps = 1e-5f)
{
    EXPECT_NEAR(r.left, l, eps);
    EXPECT_NEAR(r.top, t, eps);
    EXPECT_NEAR(r.right, rt, eps);
    EXPECT_NEAR(r.bottom, b, eps);
}

void expect_rect(const NVViewRect& r, double x, double y, double w, double h)
{
    EXPECT_NEAR(r.x, x, 1e-4);
    EXPECT_NEAR(r.y, y, 1e-4);
    EXPECT_NEAR(r.width, w, 1e-4);
    EXPECT_NEAR(r.height, h, 1e-4);
}

TEST(WorkareaGeometry, PictureFitTakesTheLimitingSideAndPlacesTheRest)
{
    // Wide picture in a square frame: full width, centred or raised to the top.
    expect_rect(nv_fit_picture({10, 20, 100, 100}, 200, 100, NVFitVertical::Centre), 10, 45, 100, 50);
    expect_rect(nv_fit_picture({10, 20, 100, 100}, 200, 100, NVFitVertical::Top), 10, 70, 100, 50);
    // Tall picture: full height, centred horizontally either way.
    expect_rect(nv_fit_picture({0, 0, 100, 100}, 50, 100, NVFitVertical::Top), 25, 0, 50, 100);
    // No picture (a failed snapshot) draws nothing instead of dividing by zero.
    expect_rect(nv_fit_picture({5, 6, 100, 100}, 0, 0, NVFitVertical::Centre), 5, 6, 0, 0);
}

TEST(WorkareaGeometry, RectanglesRoundTripThroughEveryRotation)
{
    const NVRectRatio area{0.1f, 0.2f, 0.9f, 0.8f};
    const NVRectRatio work{0.1f, 0.2f, 0.6f, 0.7f};
    for (uint32_t angle : {0u, 90u, 180u, 270u}) {
        SCOPED_TRACE(angle);
        const NVWorkareaRects r = nv_workarea_rects(area, work, angle, {0, 0, 400, 300}, 200, 100);
        expect_ratio(nv_workarea_from_rect(r.workarea, r.penArea, angle), 0.1f, 0.2f, 0.6f, 0.7f);
        expect_ratio(nv_workarea_from_rect(r.penArea, r.penArea, angle), 0, 0, 1, 1);
    }
}

TEST(WorkareaGeometry, RectanglesOnThePictureFlipTheVerticalAxisAndTurnWithTheTablet)
{
    const NVRectRatio full{0, 0, 1, 1};
    // Unturned 200×100 picture in a 200×200 frame sits at y 50…150; the work area's top
    // fraction 0 is the picture's upper edge, i.e. the larger view y.
    NVWorkareaRects r = nv_workarea_rects(full, {0, 0, 0.5f, 0.25f}, 0, {0, 0, 200, 200}, 200, 100);
    expect_rect(r.picture, 0, 50, 200, 100);
    expect_rect(r.workarea, 0, 125, 100, 25);
    // Turned by 90 the picture stands upright and the tablet's top-left corner goes to
    // the top right.
    r = nv_workarea_rects(full, {0, 0, 0.5f, 0.25f}, 90, {0, 0, 200, 200}, 200, 100);
    expect_rect(r.picture, 50, 0, 100, 200);
    expect_rect(r.workarea, 125, 100, 25, 100);
}

TEST(WorkareaGeometry, PictureTurnsByTheDifferenceOnly)
{
    uint32_t shown = 0;
    EXPECT_EQ(nv_compute_rotate_angle(&shown, 90), 270u);
    EXPECT_EQ(nv_compute_rotate_angle(&shown, 270), 180u);
    EXPECT_EQ(shown, 270u);
    EXPECT_EQ(nv_compute_rotate_angle(&shown, 270), 0u);
    EXPECT_EQ(nv_compute_rotate_angle(&shown, 0), 270u);
    // An angle from a damaged file turns nothing and leaves the picture upright, so the
    // next real choice turns it the right amount.
    EXPECT_EQ(nv_compute_rotate_angle(&shown, 45), 0u);
    EXPECT_EQ(shown, 0u);
    EXPECT_EQ(nv_compute_rotate_angle(&shown, 180), 180u);
}

TEST(WorkareaGeometry, BandsAndCursors)
{
    const NVViewRect w{100, 100, 50, 40};
    NVDragBands b = nv_hit_bands(w, {99, 120});
    EXPECT_TRUE(b.left);
    EXPECT_FALSE(b.centre);
    EXPECT_EQ(nv_drag_cursor(b), NVDragCursor::LeftRight);
    b = nv_hit_bands(w, {120, 139});
    EXPECT_TRUE(b.top);
    EXPECT_EQ(nv_drag_cursor(b), NVDragCursor::UpDown);
    b = nv_hit_bands(w, {120, 99});
    EXPECT_TRUE(b.bottom);
    b = nv_hit_bands(w, {120, 120});
    EXPECT_TRUE(b.centre);
    EXPECT_FALSE(b.left || b.right || b.top || b.bottom);
    EXPECT_EQ(nv_drag_cursor(b), NVDragCursor::Arrow);
    // A corner holds two bands; the sideways cursor wins.
    b = nv_hit_bands(w, {149, 139});
    EXPECT_TRUE(b.right && b.top);
    EXPECT_EQ(nv_drag_cursor(b), NVDragCursor::LeftRight);
    EXPECT_FALSE(nv_hit_bands(w, {10, 10}).any());
}

TEST(WorkareaGeometry, DragsAreClampedToTheActiveArea)
{
    const NVViewRect pa{0, 0, 200, 100};
    NVDragBands left;
    left.left = true;
    NVViewRect w{50, 20, 100, 60};
    EXPECT_TRUE(nv_drag_workarea(&w, left, {60, 50}, pa));
    expect_rect(w, 60, 20, 90, 60);
    EXPECT_TRUE(nv_drag_workarea(&w, left, {10, 50}, pa));
    expect_rect(w, 10, 20, 140, 60);
    // Past the active area's left edge the whole step is refused.
    EXPECT_FALSE(nv_drag_workarea(&w, left, {-5, 50}, pa));
    expect_rect(w, 10, 20, 140, 60);
    // Past its own right edge nothing moves.
    EXPECT_TRUE(nv_drag_workarea(&w, left, {170, 50}, pa));
    expect_rect(w, 10, 20, 140, 60);

    NVDragBands bottom;
    bottom.bottom = true;
    EXPECT_FALSE(nv_drag_workarea(&w, bottom, {60, -1}, pa));
    EXPECT_TRUE(nv_drag_workarea(&w, bottom, {60, 5}, pa));
    expect_rect(w, 10, 5, 140, 75);

    NVDragBands right;
    right.right = true;
    EXPECT_TRUE(nv_drag_workarea(&w, right, {190, 50}, pa));
    expect_rect(w, 10, 5, 180, 75);
    EXPECT_TRUE(nv_drag_workarea(&w, right, {250, 50}, pa)); // beyond the area: ignored
    expect_rect(w, 10, 5, 180, 75);

    NVDragBands top;
    top.top = true;
    EXPECT_TRUE(nv_drag_workarea(&w, top, {60, 90}, pa));
    expect_rect(w, 10, 5, 180, 85);
    EXPECT_TRUE(nv_drag_workarea(&w, top, {60, 130}, pa));
    expect_rect(w, 10, 5, 180, 85);
}

TEST(WorkareaGeometry, CentreDragMovesTheOriginOnlyWhileTheAreaStaysInside)
{
    const NVViewRect pa{0, 0, 200, 100};
    NVDragBands centre;
    centre.centre = true;
    NVViewRect w{50, 20, 100, 60};
    EXPECT_TRUE(nv_drag_workarea(&w, centre, {60, 30}, pa));
    expect_rect(w, 60, 30, 100, 60);
    EXPECT_TRUE(nv_drag_workarea(&w, centre, {120, 30}, pa)); // right side would leave
    EXPECT_TRUE(nv_drag_workarea(&w, centre, {0, 30}, pa));   // on the edge: not inside
    expect_rect(w, 60, 30, 100, 60);
}

TEST(WorkareaGeometry, TypedFractionsOutsideTheRangeFallBackPerEdge)
{
    NVRectRatio wa{0.2f, 0.2f, 0.8f, 0.8f};
    nv_type_workarea_edge(&wa, NVWorkareaEdge::Left, 1.5);
    nv_type_workarea_edge(&wa, NVWorkareaEdge::Bottom, -0.2);
    nv_type_workarea_edge(&wa, NVWorkareaEdge::Top, std::numeric_limits<double>::quiet_NaN());
    nv_type_workarea_edge(&wa, NVWorkareaEdge::Right, 0.25);
    expect_ratio(wa, 0, 0, 0.25f, 1);
    nv_type_workarea_edge(&wa, NVWorkareaEdge::Right, std::numeric_limits<double>::infinity());
    nv_type_workarea_edge(&wa, NVWorkareaEdge::Top, 1.0);
    expect_ratio(wa, 0, 1, 1, 1);

    EXPECT_EQ(nv_format_fraction(0.05f), "0.05");
    EXPECT_EQ(nv_format_fraction(1.f), "1");
    EXPECT_EQ(nv_format_fraction(0.123456f), "0.1235");
    EXPECT_EQ(nv_format_fraction(-0.00001f), "0");
}

TEST(WorkareaGeometry, ScreenRatioCentresTheScreensProportions)
{
    // 16:9 screen, tablet of ratio 1.6: full width, 5 % margins above and below.
    expect_ratio(nv_screen_ratio_workarea(16000, 10000, 0, 1920, 1080), 0, 0.05f, 1, 0.95f);
    // A 4:3 screen on the same tablet narrows it instead.
    expect_ratio(nv_screen_ratio_workarea(16000, 10000, 0, 1200, 900), 1 / 12.f, 0, 11 / 12.f, 1);
    // Turned by 90 the tablet is 1/1.6 wide: the margins above and below it on the turned
    // picture are the tablet's own left and right.
    expect_ratio(nv_screen_ratio_workarea(16000, 10000, 90, 1000, 1000), 0.1875f, 0, 0.8125f, 1);
    // Nothing to divide by: the full area.
    expect_ratio(nv_screen_ratio_workarea(16000, 0, 0, 1920, 1080), 0, 0, 1, 1);
    expect_ratio(nv_screen_ratio_workarea(16000, 10000, 0, 1920, 0), 0, 0, 1, 1);
}

TEST(WorkareaGeometry, ScreenMenuAndIndex)
{
    EXPECT_EQ(nv_screen_menu_count(1), 1u);
    EXPECT_EQ(nv_screen_menu_count(3), 4u);
    EXPECT_EQ(nv_normalize_screen_index(1, 1), 0u);
    EXPECT_EQ(nv_normalize_screen_index(3, 3), 3u); // all screens
    EXPECT_EQ(nv_normalize_screen_index(4, 3), 0u);
    EXPECT_EQ(nv_normalize_screen_index(2, 0), 0u);
    EXPECT_EQ(nv_screen_item_title("Screen", 2, 800, 600), "Screen 2:  800 x  600");
}

} // namespace
