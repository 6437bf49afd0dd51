#include "core/input/DisplayList.h"

#include <algorithm>

NVScreenRect nv_displays_bounding_box(const std::vector<NVDisplayInfo>& displays)
{
    if (displays.empty())
        return NVScreenRect{0, 0, 0, 0};
    double l = displays[0].bounds.x, t = displays[0].bounds.y;
    double r = l + displays[0].bounds.width, b = t + displays[0].bounds.height;
    for (const auto& d : displays) {
        l = std::min(l, d.bounds.x);
        t = std::min(t, d.bounds.y);
        r = std::max(r, d.bounds.x + d.bounds.width);
        b = std::max(b, d.bounds.y + d.bounds.height);
    }
    return NVScreenRect{l, t, r - l, b - t};
}
