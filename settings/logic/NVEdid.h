// What the monitor page names a display by, from its EDID: the product name and the
// serial number.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct NVEdidNames {
    std::string productName;  // the monitor name descriptor; empty when there is none
    std::string serialNumber; // the serial descriptor, else the numeric serial; empty when 0
};

// Nothing for a block that is short, lacks the EDID header or fails its checksum.
std::optional<NVEdidNames> nv_edid_names(std::span<const uint8_t> edid);
