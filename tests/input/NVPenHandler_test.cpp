#include "core/channel/NVNotificationNames.h"
#include "core/input/NVPenHandler.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGeometry.h"
#include "tests/input/InputTestSupport.h"

#include <algorithm>

using nvtest::pen_report;
using Events = std::vector<std::string>;

namespace {

class PenTest : public nvtest::InputTest {
protected:
    void SetUp() override
    {
        g_gi.cfg.bCtrlCursor = 1;
        g_gi.cfg.bAbsoluteMode = 1;
    }
    // One report 5 ms after the previous one.
    void pen(uint8_t type, uint32_t x = 5000, uint32_t y = 4000, uint16_t p = 0)
    {
        clock.advance(0.005);
        feed(pen_report(type, x, y, p, 32, -64));
    }
    void tap()
    {
        pen(0x81, 5000, 4000, 2000);
        pen(0x80);
    }
};

} // namespace

TEST_F(PenTest, HoverDownDragUp)
{
    start();
    pen(0x80, 2000, 4000);
    EXPECT_EQ(take(), (Events{"prox1", "moved(0,0)+prox1", "moved(0,0)"}));
    pen(0x81, 2000, 4000, 4000);
    const auto& down = ws.events().back().ws;
    EXPECT_NEAR(down.x, 200, 1e-4);
    EXPECT_NEAR(down.y, 400, 1e-4);
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,1)+prox1", "ldown(0,1)"}));
    pen(0x81, 2100, 4000, 4000);
    EXPECT_EQ(take(), (Events{"ldrag(0,1)"}));
    pen(0x80, 2100, 4000);
    EXPECT_EQ(take(), (Events{"lup(0,1)"}));
    pen(0x80, 2100, 4000); // the contact's click state stays until the pen leaves
    EXPECT_EQ(take(), (Events{"moved(0,1)"}));
}

TEST_F(PenTest, SoftKeySwitchOnATabletWithoutSoftKeysStillDraws)
{
    g_gi.cfg.bEnableSBtn = 1; // as a configuration made for another model may say
    g_gi.ti.sbtnNum = 0;
    start();
    pen(0x80, 2000, 4000);
    pen(0x81, 2000, 4000, 4000);
    pen(0x80, 2000, 4000);
    const Events events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "ldown(0,1)"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "lup(0,1)"), events.end());
}

TEST_F(PenTest, ImprovedLinearityAddsTabletPointerEventsAndTheProximityLeave)
{
    g_gi.cfg.bImproveLinearity = 1;
    start();
    pen(0x80);
    EXPECT_EQ(take(), (Events{"prox1", "moved(0,0)+prox1", "tptr", "moved(0,0)"}));
    pen(0x81, 5000, 4000, 8191);
    const NVWSEvent& tptr = ws.events()[2].ws;
    EXPECT_DOUBLE_EQ(tptr.field(NVEF_TABLET_POINTER_PRESSURE)->asDouble(),
                     calibrate_press(&g_gi.cfg, 8191, 8191) / 8191.0);
    EXPECT_DOUBLE_EQ(tptr.field(NVEF_TABLET_TILT_Y)->asDouble(), -1.0);
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,1)+prox1", "tptr", "ldown(0,1)"}));
    pen(0x81, 5000, 4000, 8191);
    EXPECT_EQ(take(), (Events{"tptr", "ldrag(0,1)"}));
    pen(0x80);
    EXPECT_EQ(take(), (Events{"moved(0,1)+prox0", "tptr", "lup(0,1)"}));
}

TEST_F(PenTest, PaintProgramsWithTheirOwnProximityGetNoneAtContact)
{
    workspace.activate("/opt/affinity/photo", "Affinity Photo 2");
    start();
    pen(0x80);
    take();
    pen(0x81, 5000, 4000, 2000);
    EXPECT_EQ(take(), (Events{"ldown(0,1)"}));
}

TEST_F(PenTest, DoubleAndTripleTapsThenTheFourthRestarts)
{
    start();
    pen(0x80);
    take();
    tap();
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,1)+prox1", "ldown(0,1)", "lup(0,1)"}));
    tap();
    EXPECT_EQ(take(), (Events{"ldown(0,2)", "lup(0,2)"}));
    tap();
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,3)+prox1", "ldown(0,3)", "lup(0,3)"}));
    tap();
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,1)+prox1", "ldown(0,1)", "lup(0,1)"}));
    // Tip-downs 0.23 s apart are separate single clicks.
    clock.advance(0.23);
    tap();
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,1)+prox1", "ldown(0,1)", "lup(0,1)"}));
}

TEST_F(PenTest, BarrelButtonWhileHoveringPerformsItsFunctionDownAndUp)
{
    nvtest::set_key(g_gi.cfg.contexts[0].pbtns[1], NVEKT_MOUSE_RIGHT);
    nvtest::set_key(g_gi.cfg.contexts[0].pbtns[2], NVEKT_MOUSE_FORWARD);
    start();
    pen(0x80);
    take();
    pen(0x82);
    EXPECT_EQ(take(), (Events{"rdown(1,1)", "ldrag(0,0)"}));
    pen(0x82);
    EXPECT_EQ(take(), (Events{"ldrag(0,0)"})); // held: no second down
    pen(0x80);
    EXPECT_EQ(take(), (Events{"rup(1,1)"}));
    pen(0x84);
    pen(0x80);
    EXPECT_EQ(take(), (Events{"scroll30", "moved(0,0)", "scroll30"}));
}

TEST_F(PenTest, ButtonPressedDuringContactOnlyEndsIt)
{
    nvtest::set_key(g_gi.cfg.contexts[0].pbtns[1], NVEKT_MOUSE_FORWARD);
    start();
    pen(0x80);
    take();
    pen(0x81, 5000, 4000, 2000);
    take();
    pen(0x83, 5000, 4000, 2000);
    EXPECT_EQ(take(), (Events{"ldrag(0,1)"}));
    pen(0x82);
    EXPECT_EQ(take(), (Events{"lup(0,1)", "moved(0,0)"}));
    pen(0x80);
    EXPECT_EQ(take(), (Events{"scroll30"})); // the button's up; its down never ran
}

TEST_F(PenTest, TipWithButtonStraightToHoverReleasesOnlyTheButton)
{
    nvtest::set_key(g_gi.cfg.contexts[0].pbtns[1], NVEKT_MOUSE_BACKWARD);
    start();
    pen(0x80);
    take();
    pen(0x83, 5000, 4000, 2000);
    EXPECT_EQ(take(), (Events{"prox1", "ldrag(0,1)+prox1", "ldown(0,1)"}));
    pen(0x80);
    EXPECT_EQ(take(), (Events{"scroll-30"}));
}

TEST_F(PenTest, MultiKeyHoverNeedsTheSwitch)
{
    start();
    pen(0x80);
    pen(0x81, 5000, 4000, 2000);
    take();
    pen(0x90);
    EXPECT_TRUE(take().empty());
    pen(0x80); // still in contact: the 0x90 changed nothing
    EXPECT_EQ(take(), (Events{"lup(0,1)"}));

    g_gi.cfg.bEnableMBtn = 1;
    pen(0x90);
    EXPECT_EQ(take(), (Events{"moved(0,1)"}));
}

TEST_F(PenTest, ProximityAgainAfterAPause)
{
    start();
    pen(0x80);
    pen(0x80);
    take();
    clock.advance(0.4);
    pen(0x80);
    EXPECT_EQ(take(), (Events{"prox1", "moved(0,0)+prox1", "moved(0,0)"}));
}

TEST_F(PenTest, RelativeModeHoldsFiveSamplesThenMovesTwice)
{
    g_gi.cfg.bAbsoluteMode = 0;
    NVPenHandler::coordinateToMouseMode_lastPtPost = {5000, 4000};
    start();
    for (int i = 0; i < 6; ++i)
        pen(0x80, 1000 + 10 * i, 1000);
    for (const NVRecordedEvent& e : ws.events()) {
        if (e.ws.hasLocation) {
            EXPECT_NEAR(e.ws.x, 500, 1e-3);
        }
    }
    take();
    pen(0x80, 1150, 1000 - 100); // 100 right and up of the sixth sample
    EXPECT_NEAR(ws.events().back().ws.x, 520, 1e-3);
    EXPECT_NEAR(ws.events().back().ws.y, 380, 1e-3);
    pen(0x80, 1150 + 5000, 900); // far right: bounded to the tablet
    EXPECT_NEAR(ws.events().back().ws.x, 999, 1e-3);
}

TEST_F(PenTest, CalibrationSilencesAPenDisplayAndForwardsTheRawFirstContact)
{
    g_gi.ti.bMonitor = 0x02;
    start();
    center.post(nvNotificationToDriverStartCalibrate, {});
    pen(0x80, 3000, 2000);
    pen(0x81, 3000, 2000, 4000);
    pen(0x81, 3100, 2000, 4000);
    pen(0x80, 3100, 2000);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(announced.calls,
              (std::vector<std::string>{"penData 3000,2000 " +
                                        std::to_string(calibrate_press(&g_gi.cfg, 4000, 8191))}));

    center.post(nvNotificationToDriverEndCalibrate, {}); // the pen's entry was never announced
    pen(0x80, 3000, 2000);
    EXPECT_EQ(take(), (Events{"prox1", "moved(0,0)+prox1", "moved(0,0)"}));
}

TEST_F(PenTest, TabletThatDoesNotControlTheCursorPostsNothing)
{
    g_gi.cfg.bCtrlCursor = 0;
    start();
    pen(0x80);
    pen(0x81, 5000, 4000, 2000);
    EXPECT_TRUE(take().empty());
}

TEST_F(PenTest, ResetEndsAHeldTip)
{
    start();
    pen(0x80);
    pen(0x81, 5000, 4000, 2000);
    take();
    handler->resetState();
    EXPECT_EQ(take(), (Events{"lup(0,1)"}));
    handler->resetState();
    EXPECT_TRUE(take().empty());
}
