// Soft keys, hard keys, touch strip, dial and touch keys.
#include "core/input/NVHbtnHandler.h"
#include "core/input/NVSbtnHandler.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGeometry.h"
#include "tests/input/InputTestSupport.h"

using namespace nvtest;
using Events = std::vector<std::string>;

namespace {

// Every key types its own key code, so the posted events name the key performed.
void keys_typing(NVEkey* keys, int n, uint8_t firstCode)
{
    for (int i = 0; i < n; ++i) {
        set_key(keys[i], NVEKT_KBTN);
        keys[i].kbtn.kbKeys[0] = static_cast<uint8_t>(firstCode + i);
    }
}

Events pressed(int code) { return {"kdown" + std::to_string(code), "kup" + std::to_string(code)}; }

class SoftKeyTest : public InputTest {
protected:
    // A strip of fixed keys along the top, the drawing area below y = 2000.
    void SetUp() override
    {
        reset_globals(50800, 30000);
        g_gi.ti.devType = 19;
        g_gi.ti.sbtnNum = 16;
        g_gi.cfg.bCtrlCursor = 1;
        g_gi.cfg.bAbsoluteMode = 1;
        g_gi.cfg.bEnableSBtn = 1;
        g_gi.tabletLayout.workarea = {0, 0, 5080, 3000};
        g_gi.tabletLayout.sbtnInRect = {0, 200, 5080, 3000};
        keys_typing(g_gi.cfg.contexts[0].sbtns, 16, 20);
    }
    void pen(uint8_t type, uint32_t x, uint32_t y)
    {
        clock.advance(0.005);
        feed(pen_report(type, x, y, type == 0x81 ? 3000 : 0));
    }
};

} // namespace

TEST_F(SoftKeyTest, PressAndLiftOnOneKeyTypesItOnce)
{
    start();
    EXPECT_EQ(g_gi.sbtnInRect.top, 2000);
    pen(0x80, 10000, 900); // over the strip: nothing
    pen(0x81, 10000, 900);
    pen(0x81, 10100, 950);
    EXPECT_TRUE(take().empty());
    pen(0x80, 10100, 950);
    EXPECT_EQ(take(), pressed(23)); // key 3 of this model: 9321..12505
}

TEST_F(SoftKeyTest, LiftOnAnotherKeyPerformsNothing)
{
    start();
    pen(0x80, 10000, 900);
    pen(0x81, 10000, 900);
    pen(0x81, 13000, 900);
    pen(0x80, 13000, 900);
    EXPECT_EQ(take(), (Events{"lup(0,0)"})); // no key: the pen handles the lift itself
}

TEST_F(SoftKeyTest, DraggedIntoTheDrawingAreaBecomesAStroke)
{
    start();
    pen(0x80, 10000, 900);
    pen(0x81, 10000, 900);
    pen(0x81, 10000, 5000);
    EXPECT_EQ(take(), (Events{"ldrag(0,0)"}));
    pen(0x81, 10000, 900);
    pen(0x80, 10000, 900);
    EXPECT_EQ(take(), (Events{"ldrag(0,0)", "lup(0,0)"}));
}

TEST_F(SoftKeyTest, FixedStripsOfFourModels)
{
    struct Case {
        uint32_t devType;
        int key;
        NVRect rect;
    } cases[] = {
        {87, 1, {2551, 0, 5700, 1850}},
        {87, 8, {24791, 0, 28250, 1850}},
        {19, 10, {31560, 0, 34825, 1800}},
        {21, 0, {750, 0, 3750, 1800}},
        {25, 7, {22670, 0, 25999, 1800}},
        {39, 14, {35817, 0, 38382, 700}},
        {39, 15, {38383, 0, 40880, 700888}},
    };
    start();
    for (const Case& c : cases) {
        g_gi.ti.devType = c.devType;
        g_gi.ti.sbtnNum = 8; // the fixed strips always have 16 keys
        NVSbtnHandler sbtn(*handler);
        ASSERT_EQ(sbtn.sbtnRects().size(), 16u);
        const NVRect& r = sbtn.sbtnRects()[c.key];
        EXPECT_EQ(r.left, c.rect.left) << c.devType << " key " << c.key;
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.right, c.rect.right);
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.devType << " key " << c.key;
    }
}

TEST_F(SoftKeyTest, OverlappingFixedKeysGoToTheLowerIndex)
{
    g_gi.ti.devType = 87;
    start();
    pen(0x80, 24900, 900); // keys 7 and 8 overlap here
    pen(0x81, 24900, 900);
    pen(0x80, 24900, 900);
    EXPECT_EQ(take(), pressed(27));
}

TEST_F(SoftKeyTest, LayoutKeysAreProjectedOntoTheTabletAndMissingOnesNeverHit)
{
    g_gi.ti.devType = 1;
    NVLayoutEkey described[2] = {};
    described[0].rect = {100, 0, 200, 100};
    described[1].rect = {300, 0, 400, 100};
    g_gi.tabletLayout.sbtns = described;
    g_gi.tabletLayout.sbtnNum = 2;
    g_gi.ti.sbtnNum = 3;
    start();
    NVSbtnHandler sbtn(*handler);
    g_gi.tabletLayout.sbtns = nullptr;
    ASSERT_EQ(sbtn.sbtnRects().size(), 3u);
    EXPECT_EQ(sbtn.sbtnRects()[1].left, 3000);
    EXPECT_EQ(sbtn.sbtnRects()[1].bottom, 1000);
    const NVPoint p{0, 0};
    EXPECT_FALSE(is_pt_in_rect(&p, &sbtn.sbtnRects()[2]));
}

namespace {

class HardKeyTest : public InputTest {
protected:
    void SetUp() override
    {
        g_gi.ti.devType = 1;
        g_gi.ti.hbtnNum = 8;
        g_gi.cfg.bEnableHBtn = 1;
        keys_typing(g_gi.cfg.contexts[0].hbtns, 16, 30);
    }
};

} // namespace

TEST_F(HardKeyTest, PressThenReleaseOfKeyFive)
{
    start();
    feed(hbtn_report(1u << 5));
    EXPECT_EQ(take(), (Events{"kdown35"}));
    feed(hbtn_report(0));
    EXPECT_EQ(take(), (Events{"kup35"}));
    handler->resetState(); // nothing held any more
    EXPECT_TRUE(take().empty());
}

TEST_F(HardKeyTest, ReleaseWithNothingHeldReleasesTheFirstKey)
{
    start();
    feed(hbtn_report(0));
    EXPECT_EQ(take(), (Events{"kup30"}));
}

TEST_F(HardKeyTest, RotationsMirrorTheRowByDeviceType)
{
    struct Case {
        uint32_t devType;
        uint8_t keys;
        uint32_t angle;
        int key;
        int performed;
    } cases[] = {
        {1, 8, 0, 0, 0},    {1, 8, 90, 0, 7},   {1, 8, 180, 0, 7},   {1, 8, 270, 0, 0},  {1, 8, 180, 5, 2},
        {21, 14, 180, 12, 12}, {21, 14, 90, 3, 9}, {25, 14, 180, 0, 12}, {34, 10, 90, 4, 4}, {70, 10, 180, 1, 7},
        {71, 8, 90, 6, 6},  {71, 8, 180, 0, 6}, {93, 8, 90, 3, 4},   {93, 8, 180, 7, 6}, {93, 8, 90, 0, 7},
    };
    start();
    for (const Case& c : cases) {
        g_gi.ti.devType = c.devType;
        g_gi.ti.hbtnNum = c.keys;
        g_gi.cfg.rotateAngle = c.angle;
        handler->handleData(hbtn_report(1u << c.key).data());
        handler->handleData(hbtn_report(0).data());
        EXPECT_EQ(take(), pressed(30 + c.performed)) << c.devType << " at " << c.angle << " key " << c.key;
    }
}

TEST_F(HardKeyTest, CodesBeyondTheTabletsKeysDoNothing)
{
    g_gi.ti.hbtnNum = 20;
    start();
    NVHbtnHandler keys(*handler);
    EXPECT_FALSE(keys.handleHBtn(1u << 16)); // past the record's 16 keys
    EXPECT_FALSE(keys.handleHBtn(1u << 30));
    g_gi.ti.hbtnNum = 8;
    EXPECT_FALSE(keys.handleHBtn(1u << 8));
    g_gi.ti.devType = 21; // its mirror sends the last key before the row
    g_gi.ti.hbtnNum = 14;
    g_gi.cfg.rotateAngle = 180;
    EXPECT_FALSE(keys.handleHBtn(1u << 13));
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(keys.lastKey(), 0u);
}

TEST_F(HardKeyTest, SwitchedOffKeysDoNothing)
{
    g_gi.cfg.bEnableHBtn = 0;
    start();
    feed(hbtn_report(1u << 2));
    EXPECT_TRUE(take().empty());
}

TEST_F(HardKeyTest, ResetReleasesAHeldCombination)
{
    NVEkey& k = g_gi.cfg.contexts[0].hbtns[2];
    k.kbtn.bCtrl = 1;
    k.kbtn.bShift = 1;
    start();
    feed(hbtn_report(1u << 2));
    EXPECT_EQ(take(), (Events{"flags40000", "flags60000", "flags60000", "kdown32"}));
    handler->resetState();
    EXPECT_EQ(take(), (Events{"kup32", "flags0", "kup56", "flags0", "kup59", "flags0"}));
    EXPECT_EQ(gModifierKeyEventFlag, 0u);
}

namespace {

// Multi-function key 0 with two positions in each of two sets; set s position k types
// 40 + 10·s + k.
class MultiKeyTest : public InputTest {
protected:
    void SetUp() override
    {
        g_gi.cfg.bEnableMBtn = 1;
        for (NVContextEkeys& ctx : g_gi.cfg.contexts) {
            NVContextMEkey& m = ctx.mekeys[0];
            m.num = 2;
            m.muxFuncNum = 2;
            m.index = 1;
            keys_typing(m.muxfunc[0].ekeys, 2, 40);
            keys_typing(m.muxfunc[1].ekeys, 2, 50);
        }
    }
};

Events steps(std::initializer_list<int> codes)
{
    Events out;
    for (int c : codes) {
        const Events one = pressed(c);
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

} // namespace

TEST_F(MultiKeyTest, StripStepsAndWrapAround)
{
    start();
    for (uint8_t p : {3, 4, 5})
        feed(slider_report(p));
    EXPECT_EQ(take(), steps({51, 51}));
    feed(slider_report(4));
    EXPECT_EQ(take(), steps({50}));
    feed(slider_report(0));
    feed(slider_report(8)); // first position after a lift
    EXPECT_TRUE(take().empty());
    feed(slider_report(1)); // 8 → 1: the ring wrapped upwards
    feed(slider_report(8)); // 1 → 8: downwards
    EXPECT_EQ(take(), steps({51, 50}));
}

TEST_F(MultiKeyTest, StripFollowsTheContextAndIgnoresSetsItDoesNotHave)
{
    g_gi.cfg.contexts[2].mekeys[0].index = 0;
    start();
    currentAppIndex_kernel = 2; // an application with its own context came to the front
    feed(slider_report(3));
    feed(slider_report(4));
    EXPECT_EQ(take(), steps({41}));
    g_gi.cfg.contexts[2].mekeys[0].index = 2; // past muxFuncNum
    feed(slider_report(5));
    g_gi.cfg.contexts[2].mekeys[0].muxFuncNum = 9;
    g_gi.cfg.contexts[2].mekeys[0].index = 5; // past the record's four sets
    feed(slider_report(6));
    EXPECT_TRUE(take().empty());
    currentAppIndex_kernel = 8; // no such context: the default one
    feed(slider_report(7));
    EXPECT_EQ(take(), steps({51}));
}

TEST_F(MultiKeyTest, DialUsesTheDefaultContextWhateverIsInFront)
{
    g_gi.cfg.contexts[3].mekeys[0].index = 0;
    start();
    currentAppIndex_kernel = 3;
    feed(dial_report(1));
    feed(dial_report(2));
    feed(dial_report(2));
    feed(dial_report(0));
    EXPECT_EQ(take(), steps({50, 51, 51}));
    feed(dial_report(3)); // no third position
    EXPECT_TRUE(take().empty());
}

TEST_F(MultiKeyTest, TouchKeyActsOncePerTouch)
{
    g_gi.cfg.contexts[0].mekeys[0].num = 13;
    keys_typing(g_gi.cfg.contexts[0].mekeys[0].muxfunc[0].ekeys, 13, 60);
    start();
    feed(touch_report(18)); // key 2
    feed(touch_report(18));
    EXPECT_EQ(take(), pressed(62));
    feed(touch_report(0)); // lifted
    feed(touch_report(18));
    EXPECT_EQ(take(), pressed(62));
    feed(touch_report(1)); // key 0
    EXPECT_EQ(take(), pressed(60));
}

TEST_F(MultiKeyTest, TouchIdsTheModelDoesNotHaveAreIgnored)
{
    g_gi.cfg.contexts[0].mekeys[0].num = 13;
    keys_typing(g_gi.cfg.contexts[0].mekeys[0].muxfunc[0].ekeys, 13, 60);
    start();
    g_gi.ti.devType = 7;
    feed(touch_report(18));
    feed(touch_report(24)); // key 8: ignored, key 2 stays held
    feed(touch_report(18));
    EXPECT_EQ(take(), pressed(62));
    g_gi.ti.devType = 13;
    feed(touch_report(22)); // key 6
    EXPECT_TRUE(take().empty());
    g_gi.ti.devType = 1;
    feed(touch_report(22));
    EXPECT_EQ(take(), pressed(66));
}

TEST_F(MultiKeyTest, TouchKeysOutsideTheSetDoNothing)
{
    start();
    feed(touch_report(20)); // key 4 of a two-position set
    EXPECT_TRUE(take().empty());
}
