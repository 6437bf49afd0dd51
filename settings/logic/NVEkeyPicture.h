// Keys on the tablet picture of the express-key page: where each key of the layout lies in
// the view, which key is under the pointer, and which key indices a model does not show.
#pragma once

#include "core/model/NVTypes.h"

#include <vector>

// One key of the layout in view coordinates (origin top left).
struct NVEkeyView {
    NVRect outer;
    NVRect inner; // the hole of a ring; empty for plain keys
    NVPoint anchor;
};

// Hard keys, then soft keys, then multi-function keys, of the picture drawn at
// pictureOrigin and scaled by scale (picture pixels to view points).
std::vector<NVEkeyView> nv_ekey_views(const NVLayoutTablet& layout, NVPoint pictureOrigin, double scale = 1.0);
// A picture point in view coordinates.
NVPoint nv_picture_to_view(NVPoint p, NVPoint pictureOrigin, double scale);
// The first key whose outline holds p (left and top edges inside, right and bottom outside)
// and whose hole does not; -1 when none does.
int nv_ekey_at(const std::vector<NVEkeyView>& keys, NVPoint p);
// Models that leave one key index unshown: the value button and pop-up keep their state.
bool nv_ekey_index_unshown(uint32_t devType, int index);
