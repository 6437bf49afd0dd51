#include "tests/channel/ChannelTestSupport.h"

#include "core/channel/NVNotificationNames.h"
#include "core/channel/NVTabletInfoDict.h"
#include "core/log/NVLog.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class UIPeerTest : public ::testing::Test {
protected:
    void SetUp() override { reset_agent_record(); }
    LocalNotificationCenter center;
    RecordingUIDelegate ui;
};

TEST_F(UIPeerTest, RequestsReachTheAgentPeer)
{
    NVLogCapture log;
    NVNotificationUIPeer peer(ui, center);
    EXPECT_TRUE(log.contains("NVNotificationUIPeer initWithDelegate"));
    RecordingDriverDelegate agent;
    NVNotificationDriverPeer driver(&agent, center, nullptr);
    int tabletInfos = 0;
    center.observe(nvNotificationToUITabletInfo, [&](const std::string&, const NVPlistDict&) { ++tabletInfos; });

    peer.notifyStartCalibrate();
    peer.notifyEndCalibrate();
    peer.notifyQueryTabletInfo();
    peer.notifyConfigChanged();

    EXPECT_EQ(agent.calibrateStart, 1);
    EXPECT_EQ(agent.calibrateEnd, 1);
    EXPECT_EQ(tabletInfos, 1);
    EXPECT_EQ(ui.tabletInfos.size(), 1u);
    // The change notification also comes back to the settings side itself.
    EXPECT_EQ(agent.configChanged, 1);
    EXPECT_EQ(ui.configChanged, 1);
}

TEST_F(UIPeerTest, PenDataWithMissingOrMistypedKeysGivesZeros)
{
    NVNotificationUIPeer peer(ui, center);
    center.post(nvNotificationToUIPenData, {{"X", 10}, {"Y", "twenty"}});
    ASSERT_EQ(ui.penData.size(), 1u);
    const NVPenData& pd = ui.penData[0];
    EXPECT_EQ(pd.pt.x, 10);
    EXPECT_EQ(pd.pt.y, 0);
    EXPECT_EQ(pd.ps, 0u);
    EXPECT_EQ(pd.pr.x, 0.0f);
    EXPECT_EQ(pd.btn, 0);
}

TEST_F(UIPeerTest, TabletInfoIsCutToEachMembersWidth)
{
    NVNotificationUIPeer peer(ui, center);
    center.post(nvNotificationToUITabletInfo, {
                                                  {"bMonitor", 0x101},
                                                  {"hbtnNum", 0x1FF},
                                                  {"lpi", 0x12345},
                                                  {"maxP", 0x10001},
                                                  {"rate", -1},
                                                  {"maxX", -1},
                                                  {"devType", "7"},
                                                  {"oemType", NVPlistStrings{"2"}},
                                                  {"sDevVer", std::string(40, 'v')},
                                              });
    ASSERT_EQ(ui.tabletInfos.size(), 1u);
    const NVTabletInfo& ti = ui.tabletInfos[0];
    EXPECT_EQ(ti.bMonitor, 1);
    EXPECT_EQ(ti.hbtnNum, 0xFF);
    EXPECT_EQ(ti.lpi, 0x2345);
    EXPECT_EQ(ti.maxP, 1);
    EXPECT_EQ(ti.rate, 0xFFFF);
    EXPECT_EQ(ti.maxX, 0xFFFFFFFFu);
    EXPECT_EQ(ti.maxY, 0u);
    EXPECT_EQ(ti.devType, 0u);
    EXPECT_EQ(ti.oemType, 0u);
    EXPECT_EQ(std::string(ti.sDevVer), std::string(31, 'v'));
    const NVTabletInfo zero{};
    EXPECT_EQ(std::memcmp(ti.reserved1, zero.reserved1, sizeof zero.reserved1), 0);
    EXPECT_EQ(std::memcmp(ti.reserved0, zero.reserved0, sizeof zero.reserved0), 0);
}

TEST_F(UIPeerTest, RemovedAppReachesEveryPeerUntilItIsGone)
{
    RecordingUIDelegate other;
    auto first = std::make_unique<NVNotificationUIPeer>(ui, center);
    NVNotificationUIPeer second(other, center);
    center.post(nvNotificationRemovedApp, {});
    first.reset();
    center.post(nvNotificationRemovedApp, {});
    center.post(nvNotificationToDriverConfigChanged, {});
    EXPECT_EQ(ui.removeApp, 1);
    EXPECT_EQ(ui.configChanged, 0);
    EXPECT_EQ(other.removeApp, 2);
    EXPECT_EQ(other.configChanged, 1);
}

} // namespace
