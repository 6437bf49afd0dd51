#include "tools/picgen/NVPicStyle.h"

#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"

#include <cstring>

namespace {

// Graphite shells for all brands; the brands differ in their accent.
NVPicPalette graphite(QColor accent, QColor accentLight)
{
    NVPicPalette p;
    p.bodyTop = QColor(0x3a, 0x3e, 0x45);
    p.bodyBottom = QColor(0x24, 0x27, 0x2b);
    p.bodyEdge = QColor(0x55, 0x5b, 0x64);
    p.panel = QColor(0x1f, 0x22, 0x26);
    p.panelEdge = QColor(0x16, 0x18, 0x1b);
    p.display = QColor(0x0b, 0x0d, 0x10);
    p.key = QColor(0x4a, 0x50, 0x58);
    p.keyEdge = QColor(0x1a, 0x1c, 0x20);
    p.softKey = QColor(0x2c, 0x31, 0x38);
    p.ring = QColor(0x33, 0x37, 0x3d);
    p.nib = QColor(0xd5, 0xd9, 0xde);
    p.accent = accent;
    p.accentLight = accentLight;
    p.ink = QColor(0x2b, 0x2e, 0x33);
    p.paper = QColor(0xf2, 0xf4, 0xf5);
    return p;
}

} // namespace

NVPicBrand nv_pic_brand(uint32_t oemType)
{
    if (oemType == NV_OEM_MAKER)
        return NVPicBrand::Nuvro;
    if (std::strcmp(get_oem_type(oemType), NV_OTS_KELTA) == 0)
        return NVPicBrand::Kelta;
    return NVPicBrand::Neutral;
}

const char* nv_pic_brand_name(NVPicBrand brand)
{
    switch (brand) {
    case NVPicBrand::Nuvro: return "Nuvro";
    case NVPicBrand::Kelta: return "Kelta";
    case NVPicBrand::Neutral: break;
    }
    return nullptr;
}

const NVPicPalette& nv_pic_palette(NVPicBrand brand)
{
    static const NVPicPalette nuvro = graphite(QColor(0x19, 0xa3, 0xa3), QColor(0x5f, 0xd0, 0xc8));
    static const NVPicPalette kelta = graphite(QColor(0xe8, 0x77, 0x2e), QColor(0xf6, 0xa8, 0x6b));
    static const NVPicPalette neutral = graphite(QColor(0x5b, 0x8d, 0xc9), QColor(0x94, 0xb8, 0xe3));
    switch (brand) {
    case NVPicBrand::Nuvro: return nuvro;
    case NVPicBrand::Kelta: return kelta;
    case NVPicBrand::Neutral: break;
    }
    return neutral;
}

QRect nv_pic_pixel_rect(const NVRect& r, int scale)
{
    return QRect(r.left * scale, r.top * scale, (r.right - r.left) * scale, (r.bottom - r.top) * scale);
}

QSize nv_pic_pixel_size(const NVSize& s, int scale)
{
    return QSize(s.cx * scale, s.cy * scale);
}

QPoint nv_pic_pixel_point(int32_t x, int32_t y, int scale)
{
    return QPoint(x * scale, y * scale);
}

QRectF nv_pic_rect(const NVRect& r)
{
    return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
