// Whether a configuration record keeps to the limits of the data model, so that code
// indexing its arrays by its own counts stays inside them.
#pragma once

#include "core/model/NVTypes.h"

#include <string>

// True when every context has at most NV_MEKEY_MAX multi-function keys, each with at
// most NV_EKEY_MAX positions and NV_MUXFUNC_MAX sets and an index below its set count
// (0 when it has none), and every character buffer is NUL-terminated. Otherwise false,
// with the first fault described in why.
bool nv_config_within_limits(const NVConfig& cfg, std::string& why);
