#include "settings/logic/NVBattery.h"

bool nv_has_battery(uint32_t devType)
{
    return devType == NV_BATTERY_DEVTYPE;
}

int nv_battery_percent(int32_t bitValue)
{
    switch (bitValue) {
    case 2:
    case 4: return 40;
    case 8:
    case 16: return 60;
    case 32:
    case 64: return 80;
    case 128: return 100;
    default: return 20;
    }
}

std::string nv_battery_picture(const std::string& resPath, int percent)
{
    return resPath + "/res/充电指示_" + std::to_string(percent) + ".png";
}

std::string nv_battery_text(int percent)
{
    return std::to_string(percent) + "%";
}

std::optional<int> NVBatteryIndicator::report(int32_t bitValue)
{
    if (shown_)
        return std::nullopt;
    shown_ = nv_battery_percent(bitValue);
    return shown_;
}
