// Which tip a function-set switch shows: the name of the new set, on the screen the
// switch asked for when it exists, else on the first.
#pragma once

#include "core/channel/NVPlist.h"

#include <optional>
#include <string>

struct NVTipRequest {
    std::string text;
    int screen;
};

// Nothing for a set index outside 0..2 or one without a name in nameArray.
std::optional<NVTipRequest> nv_tip_request(const NVPlistDict& userInfo, int screenCount);
