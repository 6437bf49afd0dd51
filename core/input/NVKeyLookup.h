// Where the key handlers find their functions in the configuration in force (g_gi.cfg).
#pragma once

#include "core/model/NVTypes.h"

#include <cstdint>

// The context of the frontmost application; context 0 when the index is out of range.
NVContextEkeys& nv_current_context();
// Position pos of set s of the first multi-function key of ctx, or null when the set is
// not below muxFuncNum (or 4) or the position not below num (or 16).
NVEkey* nv_mekey_position(NVContextEkeys& ctx, uint32_t set, uint32_t pos);
