// One line of a recording (JSON Lines, see nuvro-replay): what happened and when.
#pragma once

#include "core/channel/NVPlist.h"
#include "core/input/DisplayList.h"
#include "platform/sim/SimUsbBus.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct NVReplayLine {
    enum class Kind { Device, Displays, Cfg, Report, Notification, Activate, Unplug };

    Kind kind = Kind::Report;
    bool hasTime = false;
    double t = 0.0;
    SimDeviceScript device;              // Device
    std::vector<NVDisplayInfo> displays; // Displays
    nlohmann::json cfg;                  // Cfg: setting name or path → value
    std::vector<uint8_t> bytes;          // Report
    std::string name;                    // Notification
    NVPlistDict userInfo;                // Notification
    std::string appPath;                 // Activate
};

// Longest report a line may carry; the tablet's are 12 bytes.
inline constexpr size_t NV_REPLAY_REPORT_MAX = 64;

// false, with why, when text is not exactly one well-formed line of the format.
bool nv_parse_replay_line(const std::string& text, NVReplayLine& out, std::string& why);
