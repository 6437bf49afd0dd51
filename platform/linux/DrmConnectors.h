// The displays the kernel's DRM drivers see: each connected connector with its EDID and
// the I2C bus its DDC lines are on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DrmConnector {
    std::string name;          // "card0-HDMI-A-1"
    int i2cBus = -1;           // /dev/i2c-N of its DDC lines; -1 when it has none
    std::vector<uint8_t> edid; // as the display reported it; empty when it sent none
};

// The connected connectors under sysRoot (normally /sys/class/drm), in name order. The
// bus is the "ddc" link's target or the connector's own i2c-N child.
std::vector<DrmConnector> drm_connectors(const std::string& sysRoot = "/sys/class/drm");
