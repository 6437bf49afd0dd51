#include "settings/logic/NVBattery.h"

#include <gtest/gtest.h>

namespace {

TEST(Battery, EachLevelBitMapsToItsPercentageAndAnythingElseTo20)
{
    const std::pair<int32_t, int> cases[] = {{2, 40},  {4, 40},   {8, 60}, {16, 60}, {32, 80}, {64, 80},
                                             {128, 100}, {1, 20}, {3, 20}, {0, 20},  {-1, 20}, {256, 20},
                                             {6, 20},   {255, 20}};
    for (const auto& [bits, percent] : cases)
        EXPECT_EQ(nv_battery_percent(bits), percent) << bits;
}

TEST(Battery, OnlyTheBatteryModelIsPolled)
{
    EXPECT_TRUE(nv_has_battery(22));
    EXPECT_FALSE(nv_has_battery(0));
    EXPECT_FALSE(nv_has_battery(23));
}

TEST(Battery, TheFirstReportBuildsTheDisplayAndLaterOnesLeaveIt)
{
    NVBatteryIndicator indicator;
    EXPECT_FALSE(indicator.shown());
    EXPECT_EQ(indicator.report(3), 20);
    EXPECT_EQ(indicator.report(128), std::nullopt);
    EXPECT_EQ(indicator.shown(), 20);
    EXPECT_EQ(nv_battery_picture("/r", 20), "/r/res/充电指示_20.png");
    EXPECT_EQ(nv_battery_text(100), "100%");
}

} // namespace
