// Requests to a scripted monitor that refuses what a real one refuses.
#include "settings/logic/NVDdcClient.h"

#include "tests/settings/FakeDdcMonitor.h"

#include <gtest/gtest.h>

using nvtest::FakeDdcMonitor;

TEST(NVDdcClient, SettingsAreSetAndReadBackWithTheWaitsTheMonitorNeeds)
{
    FakeDdcMonitor monitor;
    auto port = monitor.port();
    NVDdcClient client(*port);
    const std::pair<uint8_t, uint8_t> writes[] = {{NVVCP_BRIGHTNESS, 0},      {NVVCP_CONTRAST, 100},
                                                  {NVVCP_COLOR_PRESET, 11},   {NVVCP_RED_GAIN, 255},
                                                  {NVVCP_GREEN_GAIN, 1},      {NVVCP_BLUE_GAIN, 99}};
    for (auto [vcp, value] : writes) {
        ASSERT_TRUE(client.setVcp(vcp, value));
        const NVDdcResult r = client.getVcp(vcp);
        EXPECT_EQ(r.status, NVDdcStatus::Ok) << int(vcp);
        EXPECT_EQ(r.currentValue, value);
        EXPECT_EQ(r.maxValue, 100);
    }
    EXPECT_TRUE(client.setVcp(NVVCP_RESTORE_DEFAULTS, 1));
    EXPECT_EQ(monitor.sets().back(), (FakeDdcMonitor::Set{NVVCP_RESTORE_DEFAULTS, 1}));
    EXPECT_EQ(monitor.badPackets(), 0);
    EXPECT_EQ(monitor.busyRefusals(), 0) << "every request waited for the monitor";
}

TEST(NVDdcClient, AMonitorThatFailsIsReportedNotReadAsZero)
{
    FakeDdcMonitor monitor;
    auto port = monitor.port();
    NVDdcClient client(*port);

    monitor.fault = FakeDdcMonitor::Fault::Nak;
    EXPECT_FALSE(client.setVcp(NVVCP_BRIGHTNESS, 10));
    EXPECT_EQ(client.getVcp(NVVCP_BRIGHTNESS).status, NVDdcStatus::NoAnswer);

    monitor.fault = FakeDdcMonitor::Fault::ShortReply;
    EXPECT_EQ(client.getVcp(NVVCP_BRIGHTNESS).status, NVDdcStatus::NoAnswer);

    monitor.fault = FakeDdcMonitor::Fault::WrongChecksum;
    const NVDdcResult wrong = client.getVcp(NVVCP_CONTRAST);
    EXPECT_EQ(wrong.status, NVDdcStatus::Invalid);
    EXPECT_EQ(wrong.currentValue, 60) << "the values of an invalid reply are still read";

    monitor.fault = FakeDdcMonitor::Fault::OtherCode;
    EXPECT_EQ(client.getVcp(NVVCP_CONTRAST).status, NVDdcStatus::Invalid);

    monitor.fault = FakeDdcMonitor::Fault::None;
    EXPECT_EQ(client.getVcp(NVVCP_CONTRAST).status, NVDdcStatus::Ok) << "the monitor answers again";
    EXPECT_EQ(monitor.values[NVVCP_BRIGHTNESS], 40) << "a refused write changed nothing";
}
