#include "settings/logic/NVEkeyPicture.h"

#include <cmath>

namespace {

NVRect moved(const NVRect& r, NVPoint o, double scale)
{
    const NVPoint lt = nv_picture_to_view({r.left, r.top}, o, scale);
    const NVPoint rb = nv_picture_to_view({r.right, r.bottom}, o, scale);
    return {lt.x, lt.y, rb.x, rb.y};
}

bool holds(const NVRect& r, NVPoint p)
{
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

} // namespace

NVPoint nv_picture_to_view(NVPoint p, NVPoint o, double scale)
{
    return {o.x + static_cast<int32_t>(std::lround(p.x * scale)), o.y + static_cast<int32_t>(std::lround(p.y * scale))};
}

std::vector<NVEkeyView> nv_ekey_views(const NVLayoutTablet& layout, NVPoint o, double scale)
{
    std::vector<NVEkeyView> keys;
    if (!layout.ekLayouts)
        return keys;
    keys.reserve(layout.ekNum);
    for (uint32_t i = 0; i < layout.ekNum; ++i) {
        const NVLayoutEkey& k = layout.ekLayouts[i];
        keys.push_back({moved(k.rect, o, scale), moved(k.inRect, o, scale),
                        nv_picture_to_view({k.centerX, k.centerY}, o, scale)});
    }
    return keys;
}

int nv_ekey_at(const std::vector<NVEkeyView>& keys, NVPoint p)
{
    for (size_t i = 0; i < keys.size(); ++i)
        if (holds(keys[i].outer, p) && !holds(keys[i].inner, p))
            return static_cast<int>(i);
    return -1;
}

bool nv_ekey_index_unshown(uint32_t devType, int index)
{
    switch (devType) {
    case 34:
    case 70: return index == 4;
    case 45: return index == 5;
    case 71: return index == 6;
    case 95: return index == 0;
    default: return false;
    }
}
