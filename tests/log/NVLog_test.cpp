#include "core/log/NVLog.h"

#include <gtest/gtest.h>

#include <string>

TEST(Log, CaptureCollectsFormattedLinesAndLongLinesAreCut)
{
    NVLogCapture capture;
    nv_log("NVDataHandler handleData, unknow data type=%x", 0xAB);
    nv_log("%s", std::string(5000, 'x').c_str());
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0], "NVDataHandler handleData, unknow data type=ab");
    EXPECT_EQ(capture.lines()[1].size(), 1023u);
    EXPECT_TRUE(capture.contains("unknow data type"));
    EXPECT_EQ(capture.count("x"), 1u);
    capture.clear();
    EXPECT_TRUE(capture.lines().empty());
}
