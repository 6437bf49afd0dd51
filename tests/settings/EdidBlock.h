// A valid 128-byte EDID base block as monitors send it, with an optional name and serial
// descriptor and a numeric serial.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace nvtest {

inline std::vector<uint8_t> edid_block(const char* name, const char* serial, uint32_t numericSerial)
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

} // namespace nvtest
