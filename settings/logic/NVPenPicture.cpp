#include "settings/logic/NVPenPicture.h"

#include "core/model/NVGeometry.h"
#include "settings/logic/NVEkeyPicture.h"

NVPenLeader nv_pen_leader(const NVLayoutEkey& button, NVPoint o, double scale, int buttonX, int buttonHeight)
{
    const NVPoint centre = nv_picture_to_view({button.centerX, button.centerY}, o, scale);
    return {centre, {buttonX + 10, centre.y}, {buttonX, centre.y - buttonHeight / 2}};
}

std::vector<NVPoint> nv_press_curve_points(int32_t pressFactor, int width)
{
    std::vector<NVPoint> points;
    if (width <= 0)
        return points;
    points.reserve(static_cast<size_t>(width));
    const auto w = static_cast<uint32_t>(width);
    for (uint32_t x = 0; x < w; ++x)
        points.push_back({static_cast<int32_t>(x), static_cast<int32_t>(nv_press_curve(pressFactor, x, w))});
    return points;
}

double nv_press_stroke_width(uint16_t maxP, double pressure)
{
    const double units = maxP * pressure;
    return units < 256 ? 1.0 : units / 512 + 1;
}
