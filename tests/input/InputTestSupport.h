// Shared set-up of the input tests: a clean process record and a tablet model.
#pragma once

#include "core/model/NVGlobalInfo.h"

#include <cstring>

namespace nvtest {

// Clears g_gi and the context index, then describes a plain tablet of maxX × maxY.
inline void reset_globals(uint32_t maxX = 10000, uint32_t maxY = 8000)
{
    std::memset(&g_gi.ti, 0, sizeof g_gi.ti);
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    std::memset(&g_gi.tabletLayout, 0, sizeof g_gi.tabletLayout);
    g_gi.sbtnInRect = {};
    std::memset(g_gi.lastReport, 0, sizeof g_gi.lastReport);
    g_gi.bCalibrating = 0;
    currentAppIndex_kernel = 0;
    g_gi.ti.maxX = maxX;
    g_gi.ti.maxY = maxY;
    g_gi.ti.maxP = 8191;
    g_gi.cfg.workarea = {0.0f, 0.0f, 1.0f, 1.0f};
}

} // namespace nvtest
