#include "settings/logic/NVEdid.h"

#include <numeric>

namespace {

constexpr size_t kBlock = 128;
constexpr uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr uint8_t kTagSerial = 0xFF;
constexpr uint8_t kTagName = 0xFC;

// Descriptor text: up to 13 bytes, ended by a line feed, padded with spaces.
std::string descriptor_text(std::span<const uint8_t> d)
{
    std::string s;
    for (size_t i = 5; i < 18 && d[i] != 0x0A && d[i] != 0; ++i)
        s.push_back(d[i] >= 0x20 && d[i] < 0x7F ? static_cast<char>(d[i]) : '?');
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

std::optional<NVEdidNames> nv_edid_names(std::span<const uint8_t> edid)
{
    if (edid.size() < kBlock || !std::equal(std::begin(kHeader), std::end(kHeader), edid.begin()))
        return std::nullopt;
    if (std::accumulate(edid.begin(), edid.begin() + kBlock, 0u) % 256 != 0)
        return std::nullopt;
    NVEdidNames names;
    // Four 18-byte descriptors; display descriptors start with three zero bytes and a tag.
    for (size_t off = 54; off + 18 <= 126; off += 18) {
        const auto d = edid.subspan(off, 18);
        if (d[0] != 0 || d[1] != 0 || d[2] != 0)
            continue;
        if (d[3] == kTagName)
            names.productName = descriptor_text(d);
        else if (d[3] == kTagSerial)
            names.serialNumber = descriptor_text(d);
    }
    if (names.serialNumber.empty()) {
        const uint32_t serial = edid[12] | edid[13] << 8 | edid[14] << 16 | static_cast<uint32_t>(edid[15]) << 24;
        if (serial)
            names.serialNumber = std::to_string(serial);
    }
    return names;
}
