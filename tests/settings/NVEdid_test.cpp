// Display names from EDID blocks as monitors send them.
#include "settings/logic/NVEdid.h"

#include "tests/settings/EdidBlock.h"

#include <gtest/gtest.h>

#include <vector>

using nvtest::edid_block;

TEST(NVEdid, NamesFromTheDescriptorsOrTheNumericSerial)
{
    auto names = nv_edid_names(edid_block("NV Display 27", "SN0042", 7));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->productName, "NV Display 27");
    EXPECT_EQ(names->serialNumber, "SN0042") << "the text serial wins over the number";

    names = nv_edid_names(edid_block("ThirteenChars", nullptr, 123456));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->productName, "ThirteenChars");
    EXPECT_EQ(names->serialNumber, "123456");

    names = nv_edid_names(edid_block(nullptr, nullptr, 0));
    ASSERT_TRUE(names);
    EXPECT_TRUE(names->productName.empty());
    EXPECT_TRUE(names->serialNumber.empty());
}

TEST(NVEdid, ShortBadHeaderOrBadChecksumIsRefused)
{
    std::vector<uint8_t> e = edid_block("A", "B", 1);
    EXPECT_FALSE(nv_edid_names(std::span(e).first(127)));
    std::vector<uint8_t> header = e;
    header[0] = 0x01;
    EXPECT_FALSE(nv_edid_names(header));
    std::vector<uint8_t> sum = e;
    sum[80] ^= 0x20;
    EXPECT_FALSE(nv_edid_names(sum));
    e.resize(256, 0); // an extension block does not matter
    EXPECT_TRUE(nv_edid_names(e));
}
