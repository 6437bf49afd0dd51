// The battery display of the battery-powered model: the agent reports the charge as one
// bit of a level mask, shown as a percentage with its picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Device type of the one model that runs on a battery.
constexpr uint32_t NV_BATTERY_DEVTYPE = 22;

bool nv_has_battery(uint32_t devType);

// 2 or 4 -> 40, 8 or 16 -> 60, 32 or 64 -> 80, 128 -> 100, anything else -> 20.
int nv_battery_percent(int32_t bitValue);
// "<resources>/res/充电指示_<percent>.png"
std::string nv_battery_picture(const std::string& resPath, int percent);
// "<percent>%"
std::string nv_battery_text(int percent);

// The display is built from the first report and kept as it is after that.
class NVBatteryIndicator {
public:
    // The percentage to build the display with on the first report; nothing afterwards.
    std::optional<int> report(int32_t bitValue);
    std::optional<int> shown() const { return shown_; }

private:
    std::optional<int> shown_;
};
