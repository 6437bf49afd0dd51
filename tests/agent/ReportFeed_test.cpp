// Lines of the report feed: what becomes a report, what is passed over and what is refused.
#include "agent/ReportFeed.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(ReportFeedLines, HexBytesSpacedOrNotBecomeOneReport)
{
    const Bytes key{0x08, 0xE0, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(nv_parse_report_line("08 e0 00 00 01 00 00 00 00 00 00 00"), key);
    EXPECT_EQ(nv_parse_report_line("08E0000001000000\t00000000\r"), key);
    EXPECT_EQ(nv_parse_report_line(""), Bytes{});
    EXPECT_EQ(nv_parse_report_line("   "), Bytes{});
    EXPECT_EQ(nv_parse_report_line("# pen goes down"), Bytes{});
}

TEST(ReportFeedLines, HalfBytesSplitBytesAndOtherTextAreRefused)
{
    for (const char* line : {"08 e", "0 8", "08 zz", "08#e0", "-1", "08 e0 # trailing words"})
        EXPECT_EQ(nv_parse_report_line(line), std::nullopt) << line;
}

} // namespace
