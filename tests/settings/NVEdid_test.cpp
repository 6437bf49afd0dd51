// Display names from EDID blocks as monitors send them.
#include "settings/logic/NVEdid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> edid(const char* name, const char* serial, uint32_t numericSerial)
{
    std::vector<uint8_t> e(128, 0);
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(e.data(), header, 8);
    e[12] = numericSerial & 0xFF;
    e[13] = (numericSerial >> 8) & 0xFF;
    e[14] = (numericSerial >> 16) & 0xFF;
    e[15] = numericSerial >> 24;
    e[54] = 0x01; // the first descriptor is a detailed timing, not text
    auto text = [&](size_t off, uint8_t tag, const char* s) {
        e[off + 3] = tag;
        size_t i = 0;
        for (; s[i] && i < 13; ++i)
            e[off + 5 + i] = static_cast<uint8_t>(s[i]);
        if (i < 13)
            e[off + 5 + i++] = 0x0A;
        for (; i < 13; ++i)
            e[off + 5 + i] = ' ';
    };
    if (name)
        text(72, 0xFC, name);
    if (serial)
        text(90, 0xFF, serial);
    unsigned sum = 0;
    for (size_t i = 0; i < 127; ++i)
        sum += e[i];
    e[127] = static_cast<uint8_t>(256 - sum % 256);
    return e;
}

} // namespace

TEST(NVEdid, NamesFromTheDescriptorsOrTheNumericSerial)
{
    auto names = nv_edid_names(edid("NV Display 27", "SN0042", 7));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->productName, "NV Display 27");
    EXPECT_EQ(names->serialNumber, "SN0042") << "the text serial wins over the number";

    names = nv_edid_names(edid("ThirteenChars", nullptr, 123456));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->productName, "ThirteenChars");
    EXPECT_EQ(names->serialNumber, "123456");

    names = nv_edid_names(edid(nullptr, nullptr, 0));
    ASSERT_TRUE(names);
    EXPECT_TRUE(names->productName.empty());
    EXPECT_TRUE(names->serialNumber.empty());
}

TEST(NVEdid, ShortBadHeaderOrBadChecksumIsRefused)
{
    std::vector<uint8_t> e = edid("A", "B", 1);
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
