#include "tests/channel/ChannelTestSupport.h"

#include "core/channel/NVNotificationNames.h"
#include "core/channel/NVTabletInfoDict.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/log/NVLog.h"
#include "platform/sim/FakeWorkspace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

struct Received {
    std::string name;
    NVPlistDict info;
};

class DriverPeerTest : public ::testing::Test {
protected:
    void SetUp() override { reset_agent_record(); }

    // Records every post of name on the centre.
    void record(const char* name)
    {
        center.observe(name, [this](const std::string& n, const NVPlistDict& info) { received.push_back({n, info}); });
    }

    LocalNotificationCenter center;
    LocalNotificationCenter workspaceCenter;
    RecordingDriverDelegate delegate;
    std::vector<Received> received;
};

NVPlistData config_bytes(const NVConfig& cfg)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&cfg);
    return NVPlistData(p, p + sizeof cfg);
}

void set_name(NVContextMEkey& m, int set, int key, const char* name)
{
    std::strcpy(m.muxfunc[set].ekeys[key].name, name);
}

TEST_F(DriverPeerTest, QueryWithoutTabletAnswersZerosAndEmptyVersion)
{
    NVNotificationDriverPeer peer(&delegate, center, nullptr);
    record(nvNotificationToUITabletInfo);
    NVLogCapture log;

    center.post(nvNotificationToDriverQueryTabletInfo, {});

    ASSERT_EQ(received.size(), 1u);
    const NVPlistDict& info = received[0].info;
    EXPECT_EQ(info.size(), 12u);
    for (const auto& [key, value] : info) {
        if (key == nvKeySDevVer)
            EXPECT_EQ(value, NVPlistValue(""));
        else
            EXPECT_EQ(value, NVPlistValue(int32_t{0})) << key;
    }
    EXPECT_TRUE(log.contains("NVNotificationDriverPeer \tnotifyTabletInfo: {"));
}

TEST_F(DriverPeerTest, TabletInfoCarriesEachMemberUnderItsKey)
{
    g_gi.ti = NVTabletInfo{};
    g_gi.ti.devType = 7;
    g_gi.ti.oemType = 2;
    g_gi.ti.maxX = 0x12345678;
    g_gi.ti.maxY = 40000;
    g_gi.ti.maxP = 8191;
    g_gi.ti.lpi = 5080;
    g_gi.ti.rate = 266;
    g_gi.ti.hbtnNum = 8;
    g_gi.ti.sbtnNum = 12;
    g_gi.ti.pbtnNum = 2;
    g_gi.ti.bMonitor = 1;
    std::strcpy(g_gi.ti.sDevVer, "NUVRO_T1A0");
    NVNotificationDriverPeer peer(nullptr, center, nullptr);
    RecordingUIDelegate ui;
    NVNotificationUIPeer uiPeer(ui, center);
    record(nvNotificationToUITabletInfo);

    peer.notifyTabletInfo();

    ASSERT_EQ(received.size(), 1u);
    const NVPlistDict& d = received[0].info;
    EXPECT_EQ(nv_plist_int(d, "devType"), 7);
    EXPECT_EQ(nv_plist_int(d, "oemType"), 2);
    EXPECT_EQ(nv_plist_int(d, "maxX"), 0x12345678);
    EXPECT_EQ(nv_plist_int(d, "maxY"), 40000);
    EXPECT_EQ(nv_plist_int(d, "maxP"), 8191);
    EXPECT_EQ(nv_plist_int(d, "lpi"), 5080);
    EXPECT_EQ(nv_plist_int(d, "rate"), 266);
    EXPECT_EQ(nv_plist_int(d, "hbtnNum"), 8);
    EXPECT_EQ(nv_plist_int(d, "sbtnNum"), 12);
    EXPECT_EQ(nv_plist_int(d, "pbtnNum"), 2);
    EXPECT_EQ(nv_plist_int(d, "bMonitor"), 1);
    EXPECT_EQ(nv_plist_string(d, "sDevVer"), "NUVRO_T1A0");
    // The settings side rebuilds the same record.
    ASSERT_EQ(ui.tabletInfos.size(), 1u);
    EXPECT_EQ(std::memcmp(&ui.tabletInfos[0], &g_gi.ti, sizeof(NVTabletInfo)), 0);
}

TEST_F(DriverPeerTest, PenDataCarriesPositionAndPressure)
{
    NVNotificationDriverPeer peer(nullptr, center, nullptr);
    record(nvNotificationToUIPenData);
    NVPenData pd{};
    pd.pt = {1234, -5};
    pd.pr = {0.5f, 0.25f};
    pd.ps = 4095;
    pd.ax = 10;
    pd.btn = 2;

    peer.notifyPenData(pd);

    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].info, (NVPlistDict{{"X", 1234}, {"Y", -5}, {"Pressure", 4095}}));
}

TEST_F(DriverPeerTest, FunctionSetSwitchJoinsNamesPerSet)
{
    NVNotificationDriverPeer peer(nullptr, center, nullptr);
    record(nvNotificationContextMEkeyChanged);
    NVContextMEkey m{};
    m.num = 3;
    m.muxFuncNum = 4;
    m.index = 2;
    set_name(m, 0, 0, "A");
    set_name(m, 0, 2, "B");
    // set 1: all names empty
    set_name(m, 2, 1, "Zoom%20In");
    set_name(m, 2, 2, "100%");
    set_name(m, 3, 0, "%C3%A9t%C3%A9");
    set_name(m, 3, 1, "\xff\xfe");
    set_name(m, 3, 2, "x");
    set_name(m, 3, 3, "beyond num");

    peer.notifyMMEkeyIndexChanged(m, 1);

    ASSERT_EQ(received.size(), 1u);
    const NVPlistDict& d = received[0].info;
    EXPECT_EQ(nv_plist_int(d, "muxIndex"), 2);
    EXPECT_EQ(nv_plist_int(d, "screenToDisplay"), 1);
    EXPECT_EQ(nv_plist_strings(d, "nameArray"), (NVPlistStrings{"A|B", "", "Zoom In|100%", "\xc3\xa9t\xc3\xa9|x"}));
}

TEST_F(DriverPeerTest, NameArrayStaysInsideTheRecordWhateverItsCounts)
{
    NVContextMEkey m{};
    m.num = 200;
    m.muxFuncNum = 9;
    set_name(m, 3, 15, "last");
    const NVPlistStrings names = nv_mekey_name_array(m);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[3], "last");
}

TEST_F(DriverPeerTest, ActivationSelectsFirstContextContainingThePath)
{
    std::strcpy(g_gi.cfg.contexts[3].appPath, "/usr/bin/krita");
    std::strcpy(g_gi.cfg.contexts[5].appPath, "/usr/bin/krita");
    std::strcpy(g_gi.cfg.contexts[6].appPath, "/opt/My%20Paint/bin/mypaint");
    FakeWorkspace workspace;
    nv_forward_activations(workspace, workspaceCenter);
    NVNotificationDriverPeer peer(nullptr, center, &workspaceCenter);
    NVLogCapture log;

    workspace.activate("/usr/bin/krita", "krita");
    EXPECT_EQ(currentAppIndex_kernel, 3);
    EXPECT_TRUE(log.contains("/usr/bin/krita,3"));

    workspace.activate("/opt/My Paint/bin/mypaint", "MyPaint");
    EXPECT_EQ(currentAppIndex_kernel, 6);

    workspace.activate("/usr/bin/gimp", "Gimp");
    EXPECT_EQ(currentAppIndex_kernel, 0);

    // A stored path contains the active one: a shorter active path still selects it.
    workspace.activate("/usr/bin/kri", "x");
    EXPECT_EQ(currentAppIndex_kernel, 3);

    workspace.activate("", "");
    EXPECT_EQ(currentAppIndex_kernel, 0);
}

TEST_F(DriverPeerTest, DefaultContextTakesPartInTheSearch)
{
    std::strcpy(g_gi.cfg.contexts[0].appPath, "/usr/bin/inkscape");
    std::strcpy(g_gi.cfg.contexts[2].appPath, "/usr/bin/inkscape");
    NVNotificationDriverPeer peer(nullptr, center, nullptr);
    currentAppIndex_kernel = 4;
    NVLogCapture log;
    peer.synchronizeCurrentAppIndex("/usr/bin/inkscape");
    EXPECT_EQ(currentAppIndex_kernel, 0);
    EXPECT_TRUE(log.contains("/usr/bin/inkscape,0"));
}

TEST_F(DriverPeerTest, NewPeerStartsInTheFrontmostApplicationsContextAndLeavesTheWorkspaceOnDestruction)
{
    FakeWorkspace workspace;
    nv_forward_activations(workspace, workspaceCenter);
    auto first = std::make_unique<NVNotificationDriverPeer>(nullptr, center, &workspaceCenter);
    // Krita came to the front while no tablet was attached: no configuration names it yet.
    workspace.activate("/usr/bin/krita", "krita");
    ASSERT_EQ(currentAppIndex_kernel, 0);

    // The tablet arrives with its configuration: the new dispatcher's peer selects Krita's
    // context at once, without waiting for the next change of window.
    std::strcpy(g_gi.cfg.contexts[4].appPath, "/usr/bin/krita");
    NVNotificationDriverPeer second(&delegate, center, &workspaceCenter);
    EXPECT_EQ(currentAppIndex_kernel, 4);
    // A peer that does not follow the workspace knows no frontmost application.
    { NVNotificationDriverPeer unfollowing(nullptr, center, nullptr); }
    EXPECT_EQ(currentAppIndex_kernel, 0);

    first.reset();
    center.post(nvNotificationToDriverQueryTabletInfo, {});
    workspace.activate("/usr/bin/gimp", "gimp");
    EXPECT_EQ(currentAppIndex_kernel, 0);
    workspace.activate("/usr/bin/krita", "krita");
    EXPECT_EQ(currentAppIndex_kernel, 4);
}

TEST_F(DriverPeerTest, ResetNotificationAnnouncesAChangeFromEachPeer)
{
    NVNotificationDriverPeer watcherPeer(nullptr, center, nullptr);
    NVNotificationDriverPeer dispatcherPeer(&delegate, center, nullptr);
    currentAppIndex_kernel = 3;
    record(nvNotificationToDriverConfigChanged);

    center.post(nvNotificationResetCurrentAppIndex, {});

    EXPECT_EQ(received.size(), 2u);
    EXPECT_EQ(delegate.configChanged, 2);
    EXPECT_EQ(currentAppIndex_kernel, 3);
}

TEST_F(DriverPeerTest, CalibrationAndChangeNotificationsReachTheDelegate)
{
    NVNotificationDriverPeer watcherPeer(nullptr, center, nullptr);
    NVNotificationDriverPeer peer(&delegate, center, nullptr);
    center.post(nvNotificationToDriverStartCalibrate, {});
    center.post(nvNotificationToDriverEndCalibrate, {});
    center.post(nvNotificationToDriverEndCalibrate, {});
    center.post(nvNotificationToDriverConfigChanged, {{"junk", 1}});
    EXPECT_EQ(delegate.calibrateStart, 1);
    EXPECT_EQ(delegate.calibrateEnd, 2);
    EXPECT_EQ(delegate.configChanged, 1);
}

class ConfigFromUITest : public DriverPeerTest {
protected:
    void SetUp() override
    {
        DriverPeerTest::SetUp();
        g_gi.cfg.pressFactor = 77;
        std::strcpy(g_gi.cfg.contexts[1].appPath, "/usr/bin/old");
        incoming = std::make_unique<NVConfig>();
        incoming->pressFactor = 3;
        incoming->curScreenIndex = 1;
        incoming->contexts[0].mekeyNum = 1;
        incoming->contexts[0].mekeys[0] = NVContextMEkey{};
        incoming->contexts[0].mekeys[0].num = 2;
        incoming->contexts[0].mekeys[0].muxFuncNum = 4;
        incoming->contexts[0].mekeys[0].index = 3;
        std::strcpy(incoming->contexts[7].appPath, "/usr/bin/new");
        std::memset(&incoming->contexts[7].pbtns[15].cmdPath, 'c', NV_STR_MAX - 1);
    }

    void send(const NVPlistDict& info) { center.post(nvNotificationCfgSendByUI, info); }
    void send(const NVConfig& cfg) { send(NVPlistDict{{nvKeyCfgValFromUI, config_bytes(cfg)}}); }
    void expect_untouched()
    {
        EXPECT_EQ(g_gi.cfg.pressFactor, 77);
        EXPECT_STREQ(g_gi.cfg.contexts[1].appPath, "/usr/bin/old");
        EXPECT_EQ(delegate.willReplace, 0);
    }

    std::unique_ptr<NVConfig> incoming;
};

TEST_F(ConfigFromUITest, WholeImageReplacesTheRecordAfterTheResetHook)
{
    NVNotificationDriverPeer peer(&delegate, center, nullptr);
    delegate.onWillReplace = [] { EXPECT_EQ(g_gi.cfg.pressFactor, 77) << "hook must run before the copy"; };

    send(*incoming);

    EXPECT_EQ(delegate.willReplace, 1);
    EXPECT_EQ(std::memcmp(&g_gi.cfg, incoming.get(), sizeof(NVConfig)), 0);
}

TEST_F(ConfigFromUITest, TheFrontmostApplicationsContextIsFoundAgainInTheNewRecord)
{
    FakeWorkspace workspace;
    nv_forward_activations(workspace, workspaceCenter);
    std::strcpy(g_gi.cfg.contexts[2].appPath, "/usr/bin/krita");
    std::strcpy(g_gi.cfg.contexts[3].appPath, "/usr/bin/gimp");
    NVNotificationDriverPeer peer(&delegate, center, &workspaceCenter);
    workspace.activate("/usr/bin/gimp", "gimp");
    ASSERT_EQ(currentAppIndex_kernel, 3);

    // Krita's context was removed in the settings: GIMP's moved down by one.
    std::strcpy(incoming->contexts[2].appPath, "/usr/bin/gimp");
    send(*incoming);
    EXPECT_EQ(currentAppIndex_kernel, 2);

    // Its context removed too, GIMP falls back on the default one.
    std::memset(incoming->contexts[2].appPath, 0, sizeof incoming->contexts[2].appPath);
    send(*incoming);
    EXPECT_EQ(currentAppIndex_kernel, 0);
}

TEST_F(ConfigFromUITest, PayloadOfAnyOtherSizeOrTypeIsRefused)
{
    NVNotificationDriverPeer peer(&delegate, center, nullptr);
    NVLogCapture log;
    NVPlistData bytes = config_bytes(*incoming);
    NVPlistData shorter(bytes.begin(), bytes.end() - 1);
    NVPlistData longer = bytes;
    longer.push_back(0);

    send(NVPlistDict{{nvKeyCfgValFromUI, shorter}});
    send(NVPlistDict{{nvKeyCfgValFromUI, longer}});
    send(NVPlistDict{{nvKeyCfgValFromUI, NVPlistData{}}});
    send(NVPlistDict{});
    send(NVPlistDict{{nvKeyCfgValFromUI, "not data"}});

    expect_untouched();
    EXPECT_TRUE(log.contains("NVNotificationDriverPeer handleCfgFromUI, refused 782103 bytes, expected 782104"));
    EXPECT_TRUE(log.contains("refused 782105 bytes"));
    EXPECT_EQ(log.count("NVNotificationDriverPeer handleCfgFromUI, refused 0 bytes"), 3u);
}

TEST_F(ConfigFromUITest, RecordBeyondTheModelLimitsIsRefused)
{
    NVNotificationDriverPeer peer(&delegate, center, nullptr);
    NVLogCapture log;
    const std::vector<std::function<void(NVConfig&)>> faults = {
        [](NVConfig& c) { c.contexts[2].mekeyNum = 3; },
        [](NVConfig& c) { c.contexts[0].mekeys[1].num = 17; },
        [](NVConfig& c) { c.contexts[0].mekeys[0].muxFuncNum = 5; },
        [](NVConfig& c) { c.contexts[0].mekeys[0].index = 4; },
        [](NVConfig& c) { c.contexts[5].mekeys[1].index = 1; }, // no sets: only 0
        [](NVConfig& c) { std::memset(c.contexts[7].appPath, 'a', NV_STR_MAX); },
        [](NVConfig& c) { std::memset(c.contexts[3].appName, 'a', NV_STR_MAX); },
        [](NVConfig& c) { std::memset(c.contexts[1].hbtns[15].name, 'n', NV_STR_MAX); },
        [](NVConfig& c) { std::memset(c.contexts[6].sbtns[0].cmdPath, 'n', NV_STR_MAX); },
        [](NVConfig& c) { std::memset(c.contexts[0].mekeys[1].muxfunc[3].ekeys[15].name, 'n', NV_STR_MAX); },
    };
    for (size_t i = 0; i < faults.size(); ++i) {
        auto copy = std::make_unique<NVConfig>(*incoming);
        faults[i](*copy);
        send(*copy);
        expect_untouched();
        EXPECT_EQ(log.count("NVNotificationDriverPeer handleCfgFromUI, refused: context"), i + 1) << "fault " << i;
    }
}

TEST_F(ConfigFromUITest, EveryHookRunsBeforeAnyCopyWhicheverPeerHearsFirst)
{
    for (const bool watcherFirst : {true, false}) {
        SetUp();
        RecordingDriverDelegate hook;
        std::vector<int> seen;
        hook.onWillReplace = [&seen] { seen.push_back(g_gi.cfg.pressFactor); };
        std::unique_ptr<NVNotificationDriverPeer> watcher, dispatcher;
        if (watcherFirst)
            watcher = std::make_unique<NVNotificationDriverPeer>(nullptr, center, nullptr);
        dispatcher = std::make_unique<NVNotificationDriverPeer>(&hook, center, nullptr);
        if (!watcherFirst)
            watcher = std::make_unique<NVNotificationDriverPeer>(nullptr, center, nullptr);

        send(*incoming);

        ASSERT_FALSE(seen.empty()) << "watcher first: " << watcherFirst;
        EXPECT_EQ(seen[0], 77) << "the hook ran after a copy; watcher first: " << watcherFirst;
        EXPECT_EQ(std::memcmp(&g_gi.cfg, incoming.get(), sizeof(NVConfig)), 0);

        // A peer that is gone no longer guards the record.
        dispatcher.reset();
        seen.clear();
        g_gi.cfg.pressFactor = 77;
        send(*incoming);
        EXPECT_TRUE(seen.empty());
    }
}

TEST_F(ConfigFromUITest, WatcherPeerCopiesWithoutADelegate)
{
    NVNotificationDriverPeer peer(nullptr, center, nullptr);
    send(*incoming);
    EXPECT_EQ(g_gi.cfg.pressFactor, 3);
    EXPECT_STREQ(g_gi.cfg.contexts[7].appPath, "/usr/bin/new");
}

} // namespace
