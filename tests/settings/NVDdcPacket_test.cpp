// The DDC/CI packets byte for byte, and which replies are believed.
#include "settings/logic/NVDdcPacket.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kCodes[] = {NVVCP_RESTORE_DEFAULTS, NVVCP_BRIGHTNESS, NVVCP_CONTRAST, NVVCP_COLOR_PRESET,
                              NVVCP_RED_GAIN,         NVVCP_GREEN_GAIN, NVVCP_BLUE_GAIN};

NVDdcReply good_reply(uint8_t vcp, uint8_t max, uint8_t current)
{
    NVDdcReply r{0x6E, 0x88, 0x02, 0x00, vcp, 0x00, 0x00, max, 0x00, current, 0};
    r[10] = nv_ddc_reply_checksum(r);
    return r;
}

} // namespace

TEST(NVDdcPacket, SetAndGetPacketsForEveryCodeAndValueEdge)
{
    for (uint8_t vcp : kCodes) {
        for (int value : {0, 100, 255}) {
            const auto v = static_cast<uint8_t>(value);
            const NVDdcWritePacket w = nv_ddc_write_packet(vcp, v);
            const NVDdcWritePacket expected{0x51, 0x84, 0x03, vcp, 0x00, v, static_cast<uint8_t>(vcp ^ v ^ 0xB8)};
            EXPECT_EQ(w, expected) << int(vcp) << " " << value;
            // The checksum makes the XOR of the address and every byte zero.
            uint8_t all = 0x6E;
            for (uint8_t b : w)
                all ^= b;
            EXPECT_EQ(all, 0);
        }
        const NVDdcReadPacket r = nv_ddc_read_packet(vcp);
        const NVDdcReadPacket expected{0x51, 0x82, 0x01, vcp, static_cast<uint8_t>(vcp ^ 0xBC)};
        EXPECT_EQ(r, expected) << int(vcp);
    }
    EXPECT_EQ(nv_ddc_write_packet(0x10, 100), (NVDdcWritePacket{0x51, 0x84, 0x03, 0x10, 0x00, 0x64, 0xCC}));
    EXPECT_EQ(nv_ddc_read_packet(0x10), (NVDdcReadPacket{0x51, 0x82, 0x01, 0x10, 0xAC}));
}

TEST(NVDdcPacket, ReplyIsValidOnlyForItsCodeWithItsChecksumAndValuesAreReadEitherWay)
{
    const NVDdcReading ok = nv_ddc_parse_reply(0x12, good_reply(0x12, 100, 73));
    EXPECT_TRUE(ok.valid);
    EXPECT_EQ(ok.maxValue, 100);
    EXPECT_EQ(ok.currentValue, 73);
    EXPECT_TRUE(nv_ddc_parse_reply(0x10, good_reply(0x10, 255, 255)).valid);

    NVDdcReply checksum = good_reply(0x10, 100, 30);
    checksum[10] ^= 0x40;
    const NVDdcReading bad = nv_ddc_parse_reply(0x10, checksum);
    EXPECT_FALSE(bad.valid);
    EXPECT_EQ(bad.currentValue, 30) << "bytes 7 and 9 are read from an invalid reply too";
    EXPECT_EQ(bad.maxValue, 100);

    NVDdcReply address = good_reply(0x10, 100, 30);
    address[0] = 0x6F;
    EXPECT_FALSE(nv_ddc_parse_reply(0x10, address).valid);
    NVDdcReply opcode = good_reply(0x10, 100, 30);
    opcode[2] = 0x03;
    opcode[10] = nv_ddc_reply_checksum(opcode);
    EXPECT_FALSE(nv_ddc_parse_reply(0x10, opcode).valid);
    EXPECT_FALSE(nv_ddc_parse_reply(0x12, good_reply(0x10, 100, 30)).valid) << "a reply for another code";
    EXPECT_FALSE(nv_ddc_parse_reply(0x10, NVDdcReply{}).valid) << "nothing arrived";
}
