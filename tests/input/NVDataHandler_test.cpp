// Report dispatch and the performance of key functions.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/libCross/nvParse.h"
#include "core/input/NVHbtnHandler.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "tests/input/InputTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace nvtest;
using Events = std::vector<std::string>;

namespace {

// Hard key 0 carries the function under test; the pen rests at (250, 200) on screen.
class KeyFunctionTest : public InputTest {
protected:
    void SetUp() override
    {
        g_gi.ti.devType = 1;
        g_gi.ti.hbtnNum = 8;
        g_gi.cfg.bEnableHBtn = 1;
        g_gi.cfg.bEnableMBtn = 1;
    }
    NVEkey& key(uint32_t kinds)
    {
        NVEkey& k = g_gi.cfg.contexts[0].hbtns[0];
        set_key(k, kinds, "Key 0");
        return k;
    }
    void start()
    {
        InputTest::start();
        handler->penData().pos = {250, 200};
    }
    void press() { feed(hbtn_report(1)); }
    void release() { feed(hbtn_report(0)); }
};

} // namespace

TEST_F(KeyFunctionTest, InvalidReportsAreDroppedAndUnknownTypesKept)
{
    start();
    NVLogCapture log;
    std::vector<uint8_t> r = hbtn_report(1);
    r[0] = 7;
    feed(r);
    EXPECT_EQ(g_gi.lastReport[0], 0);
    r[0] = 8;
    r[1] = 0xC0;
    feed(r);
    EXPECT_TRUE(log.contains("NVDataHandler handleData, unknow data type=c0"));
    EXPECT_EQ(g_gi.lastReport[1], 0xC0);
    EXPECT_TRUE(take().empty());
}

TEST_F(KeyFunctionTest, LeftButtonDownAndUpAtThePenAndDoubleClick)
{
    key(NVEKT_MOUSE_LEFT);
    start();
    press();
    ASSERT_EQ(ws.events().size(), 1u);
    EXPECT_DOUBLE_EQ(ws.events()[0].ws.x, 250);
    EXPECT_DOUBLE_EQ(ws.events()[0].ws.y, 200);
    EXPECT_TRUE(handler->touchPanelDrag());
    release();
    EXPECT_FALSE(handler->touchPanelDrag());
    EXPECT_EQ(take(), (Events{"ldown(0,1)", "lup(0,1)"}));
    clock.advance(0.2);
    press();
    release();
    EXPECT_EQ(take(), (Events{"ldown(0,2)", "lup(0,2)"}));
    clock.advance(0.2); // the second press started a new pair
    press();
    release();
    clock.advance(0.31);
    press();
    release();
    EXPECT_EQ(take(), (Events{"ldown(0,1)", "lup(0,1)", "ldown(0,1)", "lup(0,1)"}));
}

TEST_F(KeyFunctionTest, KindsAreCombinedInTheirFixedOrder)
{
    NVEkey& k = key(NVEKT_KBTN | NVEKT_MOUSE_LEFT | NVEKT_MOUSE_MID | NVEKT_MOUSE_FORWARD);
    k.kbtn.kbKeys[0] = 12;
    start();
    press();
    EXPECT_EQ(take(), (Events{"ldown(0,1)", "kdown12", "scroll30"})); // the middle button waits for the left
    release();
    EXPECT_EQ(take(), (Events{"lup(0,1)", "oup(2,1)", "kup12", "scroll30"}));
}

TEST_F(KeyFunctionTest, RightAndMiddleButtons)
{
    key(NVEKT_MOUSE_RIGHT);
    g_gi.cfg.contexts[0].hbtns[1] = g_gi.cfg.contexts[0].hbtns[0];
    set_key(g_gi.cfg.contexts[0].hbtns[1], NVEKT_MOUSE_MID);
    start();
    press();
    release();
    feed(hbtn_report(2));
    handler->sendMouseMove(300, 300);
    feed(hbtn_report(0));
    EXPECT_EQ(take(), (Events{"rdown(1,1)", "rup(1,1)", "odown(2,1)", "ldrag(0,0)", "oup(2,1)"}));
}

TEST_F(KeyFunctionTest, SwitchScreenOnReleaseOrClick)
{
    displays.setDisplays({{1, {0, 0, 1000, 800}}, {2, {1000, 0, 800, 600}}, {3, {1800, 0, 800, 600}}});
    key(NVEKT_SWITCH_SCREEN);
    start();
    press();
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 0u);
    release();
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 1u);
    EXPECT_DOUBLE_EQ(handler->coordMap().csRect().x, 1000);

    NVContextMEkey& m = g_gi.cfg.contexts[0].mekeys[0];
    m.num = 1;
    m.muxFuncNum = 1;
    set_key(m.muxfunc[0].ekeys[0], NVEKT_SWITCH_SCREEN);
    feed(touch_report(1));
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 2u);
    feed(touch_report(0));
    feed(touch_report(1));
    EXPECT_EQ(g_gi.cfg.curScreenIndex, 0u);
}

TEST_F(KeyFunctionTest, BrushSwitchAnnouncesTheEraser)
{
    key(NVEKT_SWITCH_BRUSH);
    start();
    press();
    EXPECT_TRUE(take().empty());
    release();
    ASSERT_EQ(take(), (Events{"prox1"}));
    press();
    release();
    ASSERT_EQ(ws.events().size(), 1u);
    EXPECT_EQ(ws.events()[0].ws.field(NVEF_PROXIMITY_POINTER_TYPE)->i, NVPT_PEN);
    EXPECT_FALSE(NVDataHandler::sendEKey_bEraser);
    ws.clear();
    press();
    release();
    EXPECT_EQ(ws.events()[0].ws.field(NVEF_PROXIMITY_POINTER_TYPE)->i, NVPT_ERASER);
    EXPECT_TRUE(gbEraser);
}

TEST_F(KeyFunctionTest, LaunchOnPressOnly)
{
    NVEkey& k = key(NVEKT_EXEC);
    std::snprintf(k.cmdPath, sizeof k.cmdPath, "/usr/bin/gimp");
    start();
    press();
    EXPECT_EQ(launcher.launches.size(), 1u);
    release();
    EXPECT_EQ(launcher.launches.size(), 1u);

    NVContextMEkey& m = g_gi.cfg.contexts[0].mekeys[0];
    m.num = 1;
    m.muxFuncNum = 1;
    m.muxfunc[0].ekeys[0] = k;
    feed(touch_report(1));
    EXPECT_EQ(launcher.launches.size(), 2u);
}

TEST_F(KeyFunctionTest, FunctionSetSwitchAdvancesStoresAndAnnounces)
{
    ScopedConfigHome home;
    g_gi.ti.devType = 11;
    const std::string user = getConfigUserFullPath();
    std::filesystem::create_directories(std::filesystem::path(user).parent_path());
    const std::string model = get_dev_type(11);
    write_file(user, "<?xml version=\"1.0\"?>\n<NVDevices><" + model +
                         "><Default><mekeys><mekey0><index>2</index></mekey0></mekeys></Default></" + model +
                         "></NVDevices>\n");
    key(NVEKT_SWITCH_MUXFUNC);
    NVContextMEkey& m = g_gi.cfg.contexts[0].mekeys[0];
    m.muxFuncNum = 3;
    m.index = 2;
    g_gi.cfg.curScreenIndex = 5;
    start();
    press();
    release();
    EXPECT_EQ(m.index, 0);
    EXPECT_EQ(announced.calls, (std::vector<std::string>{"muxIndex 0 screen 5", "configChanged"}));
    EXPECT_NE(read_file(user).find("<index>0</index>"), std::string::npos);
    press();
    EXPECT_EQ(m.index, 1);
}

TEST_F(KeyFunctionTest, FunctionSetSwitchWithoutSetsDoesNothing)
{
    key(NVEKT_SWITCH_MUXFUNC);
    start();
    press();
    release();
    EXPECT_EQ(g_gi.cfg.contexts[0].mekeys[0].index, 0);
    EXPECT_TRUE(announced.calls.empty());
}

TEST_F(KeyFunctionTest, ResetReleasesEverythingHeld)
{
    key(NVEKT_MOUSE_LEFT);
    g_gi.cfg.bCtrlCursor = 1;
    g_gi.cfg.bAbsoluteMode = 1;
    set_key(g_gi.cfg.contexts[0].pbtns[1], NVEKT_KBTN);
    g_gi.cfg.contexts[0].pbtns[1].kbtn.bShift = 1;
    start();
    clock.advance(1);
    feed(pen_report(0x80, 5000, 4000));
    feed(pen_report(0x82, 5000, 4000));
    press();
    take();
    handler->resetState();
    EXPECT_EQ(take(), (Events{"kup56", "flags0", "lup(0,1)"}));
    EXPECT_FALSE(handler->touchPanelDrag());
    EXPECT_EQ(gModifierKeyEventFlag, 0u);
    handler->resetState();
    EXPECT_TRUE(take().empty());
}

TEST_F(KeyFunctionTest, ConfigurationChangeRefreshesTheMapping)
{
    start();
    displays.setDisplays({{1, {0, 0, 1000, 800}}, {2, {1000, 0, 800, 600}}});
    g_gi.cfg.curScreenIndex = 1;
    g_gi.cfg.workarea = {0.5f, 0.5f, 1.0f, 1.0f};
    center.post(nvNotificationToDriverConfigChanged, {});
    EXPECT_DOUBLE_EQ(handler->coordMap().csRect().x, 1000);
    EXPECT_EQ(handler->coordMap().workRect().left, 5000);
}

TEST_F(KeyFunctionTest, NewConfigurationFromTheSettingsReleasesTheHeldKeyFirst)
{
    NVEkey& k = key(NVEKT_KBTN);
    k.kbtn.kbKeys[0] = 12;
    start();
    press();
    EXPECT_EQ(take(), (Events{"kdown12"}));
    auto next = std::make_unique<NVConfig>(g_gi.cfg);
    next->contexts[0].hbtns[0].kbtn.kbKeys[0] = 13;
    const auto* bytes = reinterpret_cast<const uint8_t*>(next.get());
    center.post(nvNotificationCfgSendByUI, {{nvKeyCfgValFromUI, NVPlistData(bytes, bytes + sizeof(NVConfig))}});
    EXPECT_EQ(take(), (Events{"kup12"})); // released with the function it was pressed with
    EXPECT_EQ(g_gi.cfg.contexts[0].hbtns[0].kbtn.kbKeys[0], 13);
    release(); // as any release with nothing held: an up of key 0
    EXPECT_EQ(take(), (Events{"kup13"}));
}
