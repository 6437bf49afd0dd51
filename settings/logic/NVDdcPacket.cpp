#include "settings/logic/NVDdcPacket.h"

namespace {

// The checksum covers the destination address as well as the bytes sent.
template <size_t N>
uint8_t xor_all(uint8_t seed, const std::array<uint8_t, N>& bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        seed ^= bytes[i];
    return seed;
}

} // namespace

NVDdcWritePacket nv_ddc_write_packet(uint8_t vcp, uint8_t value)
{
    NVDdcWritePacket p{nvDdcSubAddress, 0x84, 0x03, vcp, 0x00, value, 0};
    p[6] = xor_all(nvDdcAddress, p, 6);
    return p;
}

NVDdcReadPacket nv_ddc_read_packet(uint8_t vcp)
{
    NVDdcReadPacket p{nvDdcSubAddress, 0x82, 0x01, vcp, 0};
    p[4] = xor_all(nvDdcAddress, p, 4);
    return p;
}

uint8_t nv_ddc_reply_checksum(const NVDdcReply& reply)
{
    uint8_t sum = nvDdcReplyAddress ^ nvDdcSubAddress;
    for (size_t i = 1; i <= 9; ++i)
        sum ^= reply[i];
    return sum;
}

NVDdcReading nv_ddc_parse_reply(uint8_t vcp, const NVDdcReply& reply)
{
    NVDdcReading r;
    r.valid = reply[0] == nvDdcAddress && reply[2] == 0x02 && reply[4] == vcp && reply[10] == nv_ddc_reply_checksum(reply);
    r.maxValue = reply[7];
    r.currentValue = reply[9];
    return r;
}
