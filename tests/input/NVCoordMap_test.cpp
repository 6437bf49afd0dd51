#include "core/input/NVCoordMap.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/sim/FakeDisplays.h"
#include "tests/input/InputTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const NVDisplayInfo kLeft{1, {0, 0, 1920, 1080}};
const NVDisplayInfo kRight{2, {1920, 0, 1280, 1024}};

class CoordMapTest : public ::testing::Test {
protected:
    void SetUp() override { nvtest::reset_globals(10000, 8000); }
};

void expect_screen_rect(const NVScreenRect& r, double x, double y, double w, double h)
{
    EXPECT_DOUBLE_EQ(r.x, x);
    EXPECT_DOUBLE_EQ(r.y, y);
    EXPECT_DOUBLE_EQ(r.width, w);
    EXPECT_DOUBLE_EQ(r.height, h);
}

} // namespace

TEST_F(CoordMapTest, OneDisplayMapsToItWhateverTheIndexAndNeverSwitches)
{
    FakeDisplays displays({kLeft});
    g_gi.cfg.curScreenIndex = 0;
    NVCoordMap map(displays);
    expect_screen_rect(map.csRect(), 0, 0, 1920, 1080);
    map.switchScreen(1);
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 0u);
    expect_screen_rect(map.csRect(), 0, 0, 1920, 1080);
}

TEST_F(CoordMapTest, TwoDisplaysIndexPastTheEndCoversBothAndStaysThere)
{
    FakeDisplays displays({kLeft, kRight});
    g_gi.cfg.curScreenIndex = 2;
    NVCoordMap map(displays);
    EXPECT_EQ(map.monitorNum(), 2u);
    EXPECT_EQ(map.monitorID(1), 2u);
    expect_screen_rect(map.csRect(), 0, 0, 3200, 1080);
    map.switchScreen(3);
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 2u);
}

TEST_F(CoordMapTest, SwitchScreenCyclesThroughSingleDisplays)
{
    FakeDisplays displays({kLeft, kRight});
    g_gi.cfg.curScreenIndex = 0;
    NVCoordMap map(displays);
    expect_screen_rect(map.csRect(), 0, 0, 1920, 1080);
    map.switchScreen(g_gi.cfg.curScreenIndex + 1);
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 1u);
    expect_screen_rect(map.csRect(), 1920, 0, 1280, 1024);
    map.switchScreen(g_gi.cfg.curScreenIndex + 1);
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 0u);
    expect_screen_rect(map.csRect(), 0, 0, 1920, 1080);
}

TEST_F(CoordMapTest, RefusedListKeepsThePreviousDisplaysAndAtMostEightAreKept)
{
    FakeDisplays displays({kLeft, kRight});
    g_gi.cfg.curScreenIndex = 1;
    NVCoordMap map(displays);
    displays.setRefuse(true);
    EXPECT_FALSE(map.refreshScreens());
    EXPECT_EQ(map.monitorNum(), 2u);
    expect_screen_rect(map.csRect(), 1920, 0, 1280, 1024);

    displays.setRefuse(false);
    std::vector<NVDisplayInfo> many;
    for (uint32_t i = 0; i < 10; ++i)
        many.push_back({i, {i * 100.0, 0, 100, 100}});
    displays.setDisplays(many);
    EXPECT_TRUE(map.refreshScreens());
    EXPECT_EQ(map.monitorNum(), 8u);
    expect_screen_rect(map.displayRect(), 0, 0, 800, 100);
}

TEST_F(CoordMapTest, WorkRectangleFromRatiosTruncated)
{
    FakeDisplays displays({kLeft});
    g_gi.cfg.workarea = {0.1f, 0.25f, 0.55f, 0.9f};
    NVCoordMap map(displays);
    EXPECT_EQ(map.workRect().left, 1000);
    EXPECT_EQ(map.workRect().top, 2000);
    EXPECT_EQ(map.workRect().right, 5500);
    EXPECT_EQ(map.workRect().bottom, 7200);
    EXPECT_EQ(map.workW(), 4500u);
    EXPECT_EQ(map.workH(), 5200u);
}

TEST_F(CoordMapTest, SoftKeyBaseRectangleOnlyOnModelsWithSoftKeys)
{
    FakeDisplays displays({kLeft});
    g_gi.cfg.bEnableSBtn = 1;
    g_gi.sbtnInRect = {1000, 500, 9000, 7500};
    g_gi.cfg.workarea = {0.5f, 0.5f, 1.0f, 1.0f};
    NVCoordMap map(displays);
    EXPECT_EQ(map.workRect().left, 5000); // sbtnNum 0: the whole tablet
    EXPECT_EQ(map.workRect().bottom, 8000);

    g_gi.ti.sbtnNum = 16;
    map.refreshWorkarea();
    EXPECT_EQ(map.workRect().left, 5000);
    EXPECT_EQ(map.workRect().top, 4000);
    EXPECT_EQ(map.workRect().right, 9000);
    EXPECT_EQ(map.workRect().bottom, 7500);
}

TEST_F(CoordMapTest, MappingClampsJustInsideTheFarEdge)
{
    FakeDisplays displays({kLeft});
    g_gi.cfg.workarea = {0.1f, 0.1f, 0.9f, 0.9f}; // 1000..9000 × 800..7200
    NVCoordMap map(displays);
    NVScreenPoint p = map.mapToScreen({9000, 7200});
    EXPECT_DOUBLE_EQ(p.x, 0.999f * 1920.0);
    EXPECT_DOUBLE_EQ(p.y, 0.999f * 1080.0);
    p = map.mapToScreen({500, 100});
    EXPECT_DOUBLE_EQ(p.x, 0);
    EXPECT_DOUBLE_EQ(p.y, 0);
    p = map.mapToScreen({5000, 4000});
    EXPECT_DOUBLE_EQ(p.x, 960);
    EXPECT_DOUBLE_EQ(p.y, 540);
}

TEST_F(CoordMapTest, FourRotations)
{
    FakeDisplays displays({kRight});
    NVCoordMap map(displays);
    const NVPoint pt{2500, 2000}; // ratios 0.25, 0.25
    struct Case {
        uint32_t angle;
        float sx, sy;
    } cases[] = {{0, 0.25f, 0.25f}, {90, 0.75f, 0.25f}, {180, 0.75f, 0.75f}, {270, 0.25f, 0.75f}};
    for (const Case& c : cases) {
        g_gi.cfg.rotateAngle = c.angle;
        const NVScreenPoint p = map.mapToScreen(pt);
        EXPECT_DOUBLE_EQ(p.x, 1920 + c.sx * 1280.0) << c.angle;
        EXPECT_DOUBLE_EQ(p.y, c.sy * 1024.0) << c.angle;
    }
    // At 90 the tablet's top edge is the screen's right edge, its left edge the top.
    g_gi.cfg.rotateAngle = 90;
    const NVScreenPoint corner = map.mapToScreen({0, 0});
    EXPECT_DOUBLE_EQ(corner.x, 1920 + 0.999f * 1280.0);
    EXPECT_DOUBLE_EQ(corner.y, 0);

    EXPECT_EQ(map.computePositionByRotate({100, 200}).x, 7800);
    g_gi.cfg.rotateAngle = 270;
    EXPECT_EQ(map.computePositionByRotate({100, 200}).y, 9900);
}

TEST_F(CoordMapTest, DegenerateWorkRectangleGivesFinitePositions)
{
    FakeDisplays displays({kLeft});
    g_gi.cfg.workarea = {0.5f, 0.2f, 0.5f, 0.2f};
    NVCoordMap map(displays);
    for (NVPoint pt : {NVPoint{5000, 1600}, NVPoint{4000, 1000}, NVPoint{6000, 3000}}) {
        const NVScreenPoint p = map.mapToScreen(pt);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
    EXPECT_DOUBLE_EQ(map.mapToScreen({5000, 1600}).x, 0);
    EXPECT_DOUBLE_EQ(map.mapToScreen({6000, 3000}).x, 0.999f * 1920.0);
}

TEST_F(CoordMapTest, TouchPointsProjectOntoAllDisplays)
{
    FakeDisplays displays({kLeft, kRight});
    g_gi.cfg.curScreenIndex = 0;
    NVCoordMap map(displays);
    NVScreenPoint p;
    map.TouchCoordProjectToAllDisplay(5000, 4000, &p);
    EXPECT_DOUBLE_EQ(p.x, 1600);
    EXPECT_DOUBLE_EQ(p.y, 540);
}
