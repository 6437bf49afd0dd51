// The look every generated picture shares: one palette per brand, and where a layout
// outline lands in the pixels of a picture drawn at 1x or 2x.
#pragma once

#include "core/model/NVTypes.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

enum class NVPicBrand { Nuvro, Kelta, Neutral };

// The brand a model's pictures carry: the maker's own, Kelta, or a neutral one for the
// other OEM brands.
NVPicBrand nv_pic_brand(uint32_t oemType);
// "Nuvro", "Kelta", or null for the neutral brand (whose pictures carry no name).
const char* nv_pic_brand_name(NVPicBrand brand);

struct NVPicPalette {
    QColor bodyTop, bodyBottom, bodyEdge; // shell of tablets and pens
    QColor panel, panelEdge;              // recessed active area
    QColor display;                       // screen of a pen display
    QColor key, keyEdge;                  // hard keys, ring buttons, pen buttons
    QColor softKey;                       // touch keys on the active area
    QColor ring;                          // multi-function ring
    QColor nib;                           // pen tip
    QColor accent, accentLight;
    QColor ink;                           // glyphs on a light ground
    QColor paper;                         // glyphs on a dark ground
};

const NVPicPalette& nv_pic_palette(NVPicBrand brand);

// Layout units are the pixels of the 1x picture, origin top left; an outline spans
// right - left by bottom - top units. At scale s every unit covers s by s pixels.
QRect nv_pic_pixel_rect(const NVRect& r, int scale);
QSize nv_pic_pixel_size(const NVSize& s, int scale);
// The pixel that holds the layout point (x, y).
QPoint nv_pic_pixel_point(int32_t x, int32_t y, int scale);
// An outline in layout units, for drawing with the painter scaled to the picture.
QRectF nv_pic_rect(const NVRect& r);
