// The picture of a tablet, drawn from its layout so that every key sits at its outline.
#pragma once

#include "core/model/NVTypes.h"
#include "tools/picgen/NVPicStyle.h"

#include <QImage>

struct NVTabletLook {
    NVPicBrand brand;
    bool monitor; // a pen display: the active area is its screen
};

// The picture of the layout's size times scale: a rounded body whose corners stay
// transparent, the active area, and each hard, soft and multi-function key filled with
// the palette's colour around its anchor point.
QImage nv_draw_tablet(const NVLayoutTablet& layout, const NVTabletLook& look, int scale);
