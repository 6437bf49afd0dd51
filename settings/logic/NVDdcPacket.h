// DDC/CI Get and Set VCP Feature packets of the display's I2C address, their checksums
// and the validity of a reply.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr uint8_t nvDdcAddress = 0x6E;       // host to display, 8-bit write address
inline constexpr uint8_t nvDdcReplyAddress = 0x6F;  // display to host
inline constexpr uint8_t nvDdcSubAddress = 0x51;
inline constexpr uint8_t nvDdcI2cSlave = 0x37;      // nvDdcAddress >> 1, for the kernel's i2c-dev

// VCP codes of the monitor page.
enum NVVcp : uint8_t {
    NVVCP_RESTORE_DEFAULTS = 0x04,
    NVVCP_BRIGHTNESS = 0x10,
    NVVCP_CONTRAST = 0x12,
    NVVCP_COLOR_PRESET = 0x14,
    NVVCP_RED_GAIN = 0x16,
    NVVCP_GREEN_GAIN = 0x18,
    NVVCP_BLUE_GAIN = 0x1A,
};
// Colour presets written to NVVCP_COLOR_PRESET.
inline constexpr uint8_t nvPreset6500K = 5;
inline constexpr uint8_t nvPreset9300K = 8;
inline constexpr uint8_t nvPresetUser = 11;

using NVDdcWritePacket = std::array<uint8_t, 7>;
using NVDdcReadPacket = std::array<uint8_t, 5>;
using NVDdcReply = std::array<uint8_t, 11>;

// Set VCP Feature: 51 84 03 code 00 value checksum.
NVDdcWritePacket nv_ddc_write_packet(uint8_t vcp, uint8_t value);
// Get VCP Feature: 51 82 01 code checksum.
NVDdcReadPacket nv_ddc_read_packet(uint8_t vcp);

struct NVDdcReading {
    bool valid = false;
    uint8_t maxValue = 0;     // reply byte 7
    uint8_t currentValue = 0; // reply byte 9
};
// The reply as it was received (byte 0 is the address the request went to). Valid when
// it is for that code and its checksum holds; the values are read either way.
NVDdcReading nv_ddc_parse_reply(uint8_t vcp, const NVDdcReply& reply);
// The checksum a reply must carry in its last byte.
uint8_t nv_ddc_reply_checksum(const NVDdcReply& reply);
