#include "core/events/NVPublicTool.h"

#include <gtest/gtest.h>

namespace {

TEST(PublicTool, VersionStringJoinsThreeReleaseNumbers)
{
    EXPECT_EQ(NVPublicTool::systemVersionString("6.1.0-18-amd64"), "610");
    EXPECT_EQ(NVPublicTool::systemVersionString("10.15.7"), "10157");
    EXPECT_EQ(NVPublicTool::systemVersionString("5.15"), "5150");
    EXPECT_EQ(NVPublicTool::systemVersionString("6.8.12+rpt-rpi-v8"), "6812");
    EXPECT_EQ(NVPublicTool::systemVersionString("garbage"), "000");
}

TEST(PublicTool, ComparesAsText)
{
    const std::string own = NVPublicTool::systemVersionString();
    EXPECT_EQ(NVPublicTool::compareVersionWithVersion(own), NVOrderedSame);
    EXPECT_EQ(NVPublicTool::compareVersionWithVersion(own + "0"), NVOrderedAscending);
    EXPECT_EQ(NVPublicTool::compareVersionWithVersion(""), NVOrderedDescending);
}

} // namespace
