#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<uint16_t> units(const std::u16string& s)
{
    std::vector<uint16_t> u(s.begin(), s.end());
    u.resize(128, 0);
    return u;
}

std::vector<uint16_t> ascii(const std::string& s)
{
    std::vector<uint16_t> u(s.begin(), s.end());
    u.resize(128, 0);
    return u;
}

} // namespace

TEST(ReportAccessors, DecodeEveryField)
{
    const uint8_t r[NV_REPORT_SIZE] = {0x08, 0x81, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10, 0x01, 0x02, 0xF0, 0x10};
    EXPECT_FALSE(is_invalid_report(r));
    EXPECT_EQ(report_type(r), 0x81);
    EXPECT_EQ(report_x(r), 0x011234u);
    EXPECT_EQ(report_y(r), 0x025678u);
    EXPECT_EQ(report_p(r), 0x1000);
    EXPECT_EQ(report_ax(r), -16);
    EXPECT_EQ(report_ay(r), 16);
    EXPECT_EQ(report_hbtn_id(r), 0x10005678u);
    EXPECT_EQ(report_slider_id(r), 0x56);
    EXPECT_EQ(report_touch_id(r), 0x5678);

    const uint8_t top[NV_REPORT_SIZE] = {0x08, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x7F};
    EXPECT_EQ(report_x(top), 0xFFFFFFu);
    EXPECT_EQ(report_y(top), 0xFFFFFFu);
    EXPECT_EQ(report_p(top), 0xFFFF);
    EXPECT_EQ(report_ax(top), -128);
    EXPECT_EQ(report_ay(top), 127);

    uint8_t bad[NV_REPORT_SIZE] = {0x09, 0x81};
    EXPECT_TRUE(is_invalid_report(bad));
    bad[0] = 0;
    EXPECT_TRUE(is_invalid_report(bad));
}

TEST(InformationBlock, FillsOnlyItsFields)
{
    const uint8_t block[NV_INFO_BLOCK_SIZE] = {0x40, 0xC6, 0x01, 0x06, 0x7C, 0x02, 0xFF, 0x3F, 0xD8,
                                               0x13, 0x02, 0x08, 0x10, 0xAA, 0x08, 0xBB, 50};
    NVTabletInfo ti{};
    ti.devType = 17;
    ti.oemType = 9;
    std::strcpy(ti.sDevVer, "kept");
    parse_str_200(block, &ti);
    EXPECT_EQ(ti.maxX, 0x01C640u);
    EXPECT_EQ(ti.maxY, 0x027C06u);
    EXPECT_EQ(ti.maxP, 0x3FFF);
    EXPECT_EQ(ti.lpi, 0x13D8);
    EXPECT_EQ(ti.pbtnNum, 2);
    EXPECT_EQ(ti.hbtnNum, 8);
    EXPECT_EQ(ti.sbtnNum, 16);
    EXPECT_NE(ti.bMonitor, 0);
    EXPECT_EQ(ti.rate, 200);
    EXPECT_EQ(ti.devType, 17u);
    EXPECT_EQ(ti.oemType, 9u);
    EXPECT_STREQ(ti.sDevVer, "kept");
}

TEST(InformationBlock, MonitorFlagMasksBits1And3)
{
    uint8_t block[NV_INFO_BLOCK_SIZE] = {};
    for (auto [flags, display] : {std::pair{0x02, true}, {0x08, true}, {0x0A, true}, {0x04, false},
                                  {0x05, false}, {0xF5, false}}) {
        block[14] = static_cast<uint8_t>(flags);
        EXPECT_EQ(parse_is_monitor(block) != 0, display) << flags;
    }
    block[16] = 255;
    EXPECT_EQ(parse_rate(block), 255);
    NVTabletInfo ti{};
    parse_str_200(block, &ti);
    EXPECT_EQ(ti.rate, 1020) << "rate x4 does not wrap in 16 bits";
}

TEST(ModelIdentification, MakerModelsWinBeforeOemModels)
{
    const auto& maker = nv_maker_models()[3];
    NVTabletInfo ti{};
    auto text = ascii(std::string("HID ") + maker.identity);
    EXPECT_EQ(parse_str_201(text.data(), &ti), 1);
    EXPECT_EQ(ti.devType, maker.devType);
    EXPECT_EQ(ti.oemType, NV_OEM_MAKER);
    EXPECT_EQ(std::string(ti.sDevVer), std::string("HID ") + maker.identity);

    for (const auto& oem : nv_oem_models()) {
        NVTabletInfo t{};
        auto s = ascii(oem.identity);
        ASSERT_EQ(parse_str_201(s.data(), &t), 1) << oem.identity;
        EXPECT_EQ(t.devType, oem.devType);
        EXPECT_EQ(t.oemType, oem.oemType);
    }
}

TEST(ModelIdentification, OemNumberGivesTheBrand)
{
    for (const auto& oem : nv_oem_models()) {
        const std::string num(oem.identity + 3, 2);
        const std::map<std::string, uint32_t> table = {{"00", 1}, {"02", 3}, {"06", 8}, {"07", 9},
                                                       {"08", 10}, {"12", 14}, {"14", 16}, {"19", 17}};
        ASSERT_TRUE(table.count(num)) << oem.identity;
        EXPECT_EQ(oem.oemType, table.at(num)) << oem.identity;
    }
}

TEST(ModelIdentification, OnlyTheFirst17UnitsCount)
{
    const auto& maker = nv_maker_models()[0];
    // 8 characters of prefix put the identity's last characters beyond unit 17.
    auto text = ascii(std::string("12345678") + maker.identity);
    NVTabletInfo ti{};
    EXPECT_EQ(parse_str_201(text.data(), &ti), 0);
    EXPECT_EQ(std::string(ti.sDevVer).size(), 17u);

    auto fits = ascii(std::string("1234567") + maker.identity + "XYZ");
    EXPECT_EQ(parse_str_201(fits.data(), &ti), 1);
    EXPECT_EQ(ti.devType, maker.devType);
}

TEST(ModelIdentification, UnknownTextKeepsTheTextAndTheMakerBrand)
{
    NVTabletInfo ti{};
    ti.devType = 55;
    ti.oemType = 9;
    auto text = ascii("GENERIC_PEN_PAD");
    EXPECT_EQ(parse_str_201(text.data(), &ti), 0);
    EXPECT_EQ(ti.devType, 0u);
    EXPECT_EQ(ti.oemType, 2u);
    EXPECT_STREQ(ti.sDevVer, "GENERIC_PEN_PAD");

    auto empty = ascii("");
    EXPECT_EQ(parse_str_201(empty.data(), &ti), 0);
    EXPECT_STREQ(ti.sDevVer, "");
}

TEST(ModelIdentification, IdentityStopsAtNulAndSDevVerIsAlwaysTerminated)
{
    const auto& maker = nv_maker_models()[0];
    auto text = ascii(std::string("AB"));
    auto id = ascii(maker.identity);
    std::copy(id.begin(), id.begin() + 10, text.begin() + 3); // after a NUL
    NVTabletInfo ti{};
    EXPECT_EQ(parse_str_201(text.data(), &ti), 0);
    EXPECT_STREQ(ti.sDevVer, "AB");

    // 17 three-byte characters: 51 bytes, cut to 31 on a character boundary.
    std::u16string wide(17, u'\u20AC');
    auto w = units(wide);
    std::memset(ti.sDevVer, 'x', sizeof ti.sDevVer);
    EXPECT_EQ(parse_str_201(w.data(), &ti), 0);
    EXPECT_EQ(std::strlen(ti.sDevVer), 30u);
    EXPECT_EQ(ti.sDevVer[31], '\0');
}

TEST(Utf16, ConvertsByUnitAndNeverWritesPastTheBuffer)
{
    const uint16_t src[] = {'A', 0xE9, 0x20AC, 0xD83D};
    char dst[16] = {};
    EXPECT_EQ(str_utf16_to_utf8(src, 4, dst, sizeof dst), 1 + 2 + 3 + 3);
    EXPECT_EQ(std::string(dst, 6), "A\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(std::string(dst + 6, 3), "\xED\xA0\xBD") << "a lone surrogate is encoded like any unit";

    EXPECT_EQ(str_utf16_to_utf8(src, 4, nullptr, 0), 9) << "counting only";
    EXPECT_EQ(str_utf16_to_utf8(src, 0, dst, sizeof dst), 0);

    char small[5];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(str_utf16_to_utf8(src, 4, small, 4), 3) << "the euro sign does not fit";
    EXPECT_EQ(small[4], '#');

    uint8_t out[3];
    EXPECT_EQ(char_unicode_to_utf8(0x7F, out, 3), 1);
    EXPECT_EQ(char_unicode_to_utf8(0x80, out, 3), 2);
    EXPECT_EQ(char_unicode_to_utf8(0x7FF, out, 3), 2);
    EXPECT_EQ(char_unicode_to_utf8(0x800, out, 3), 3);
    EXPECT_EQ(char_unicode_to_utf8(0xFFFF, out, 3), 3);
    EXPECT_EQ(char_unicode_to_utf8(0x10000, out, 3), 0);
}

TEST(KeyDecoders, HardKeyMaskHighestBitWins)
{
    EXPECT_EQ(parse_index_hbtn(0), 0);
    EXPECT_EQ(parse_index_hbtn(1), 0);
    EXPECT_EQ(parse_index_hbtn(0x20), 5);
    EXPECT_EQ(parse_index_hbtn(0x21), 5);
    EXPECT_EQ(parse_index_hbtn(0x40000000), 30);
    EXPECT_EQ(parse_index_hbtn(0x80000000), -1);
    EXPECT_EQ(parse_index_hbtn(0x80000001), -1);
}

TEST(KeyDecoders, TouchIds)
{
    EXPECT_EQ(parse_index_touch(1), 0);
    for (int id = 17; id <= 25; ++id)
        EXPECT_EQ(parse_index_touch(static_cast<uint16_t>(id)), id - 16);
    EXPECT_EQ(parse_index_touch(36), 10);
    EXPECT_EQ(parse_index_touch(37), 11);
    EXPECT_EQ(parse_index_touch(49), 12);
    for (int id : {0, 2, 16, 26, 35, 38, 48, 50, 0xFFFF})
        EXPECT_EQ(parse_index_touch(static_cast<uint16_t>(id)), -1) << id;
}

TEST(KeyDecoders, SliderDirectionReadsJumpsAsWrapAround)
{
    EXPECT_EQ(orientate_slide(3, 4), 1);
    EXPECT_EQ(orientate_slide(4, 3), -1);
    EXPECT_EQ(orientate_slide(0, 7), -1);
    EXPECT_EQ(orientate_slide(7, 0), 1);
    EXPECT_EQ(orientate_slide(5, 5), 0);
}

TEST(NameLookups, OutOfRangeValuesGiveDefaults)
{
    EXPECT_STREQ(get_dev_type(0), "UNKNOW");
    EXPECT_STREQ(get_dev_type(101), "UNKNOW");
    EXPECT_STREQ(get_dev_type(0xFFFFFFFF), "UNKNOW");
    EXPECT_STREQ(get_pen_node_in_xml(0), NV_PEN_STANDARD);
    EXPECT_STREQ(get_pen_node_in_xml(1000), NV_PEN_STANDARD);
    EXPECT_STREQ(get_oem_type(1), "NOBRAND");
    EXPECT_STREQ(get_oem_type(2), "NUVRO");
    EXPECT_STREQ(get_oem_type(3), "KELTA");
    EXPECT_STREQ(get_oem_type(9), "ORVANE");
    EXPECT_STREQ(get_oem_type(10), "DELQUA");
    EXPECT_STREQ(get_oem_type(17), "BOSKA");
    for (uint32_t other : {0u, 4u, 8u, 14u, 16u, 1000u})
        EXPECT_STREQ(get_oem_type(other), "UNKNOW") << other;
    EXPECT_STREQ(get_dev_type(NVTT_NUVRO_PE23), NV_DTS_NUVRO_PE23);
}
