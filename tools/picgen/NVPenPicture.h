// The picture of a pen, drawn from its layout: the tip at button 0, the barrel buttons
// where the layout puts them.
#pragma once

#include "core/model/NVTypes.h"
#include "tools/picgen/NVPicStyle.h"

#include <QImage>

// The picture of the layout's size times scale, standing upright with the tip down; the
// tip is filled with the palette's nib colour and each barrel button with its key colour
// around their anchor points; outside the pen it is transparent.
QImage nv_draw_pen(const NVLayoutPen& layout, NVPicBrand brand, int scale);
