// Download progress shown at most once a second.
#include "helper/logic/NVProgressThrottle.h"

#include <gtest/gtest.h>

TEST(NVProgressThrottle, ShowsTheFirstReportAndThenAtMostOnceASecond)
{
    NVProgressThrottle throttle;
    EXPECT_EQ(throttle.report(5000, 0, 0), 0);
    EXPECT_EQ(throttle.report(5001, 50, 100), std::nullopt);
    EXPECT_EQ(throttle.report(5999, 90, 100), std::nullopt);
    EXPECT_EQ(throttle.report(6000, 90, 100), 90);
    EXPECT_EQ(throttle.report(6500, 100, 100), std::nullopt);
    EXPECT_EQ(throttle.report(8000, 3, 1), 100) << "more than announced reads as complete";
    EXPECT_EQ(throttle.report(9000, 10, -1), 0) << "an unknown total reads as 0";
    EXPECT_EQ(throttle.report(10000, (int64_t(1) << 60), (int64_t(1) << 61)), 50) << "no overflow on large files";
}
