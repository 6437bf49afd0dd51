#include "core/input/NVKeyLookup.h"

#include "core/model/NVGlobalInfo.h"

NVContextEkeys& nv_current_context()
{
    const int32_t i = currentAppIndex_kernel;
    return g_gi.cfg.contexts[(i >= 0 && i < NV_CONTEXT_MAX) ? i : 0];
}

NVEkey* nv_mekey_position(NVContextEkeys& ctx, uint32_t set, uint32_t pos)
{
    NVContextMEkey& m = ctx.mekeys[0];
    if (set >= m.muxFuncNum || set >= NV_MUXFUNC_MAX || pos >= m.num || pos >= NV_EKEY_MAX)
        return nullptr;
    return &m.muxfunc[set].ekeys[pos];
}
