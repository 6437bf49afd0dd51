#include "core/channel/NVConfigLimits.h"

#include <cstring>

namespace {

template <size_t N>
bool terminated(const char (&buf)[N])
{
    return std::memchr(buf, 0, N) != nullptr;
}

bool ekey_ok(const NVEkey& e)
{
    return terminated(e.name) && terminated(e.cmdPath);
}

template <size_t N>
bool ekeys_ok(const NVEkey (&keys)[N])
{
    for (const NVEkey& e : keys)
        if (!ekey_ok(e))
            return false;
    return true;
}

std::string where(int context, const char* what)
{
    return "context " + std::to_string(context) + ": " + what;
}

} // namespace

bool nv_config_within_limits(const NVConfig& cfg, std::string& why)
{
    for (int c = 0; c < NV_CONTEXT_MAX; ++c) {
        const NVContextEkeys& ctx = cfg.contexts[c];
        if (!terminated(ctx.appName) || !terminated(ctx.appPath)) {
            why = where(c, "application name or path not terminated");
            return false;
        }
        if (!ekeys_ok(ctx.hbtns) || !ekeys_ok(ctx.sbtns) || !ekeys_ok(ctx.pbtns)) {
            why = where(c, "key name or command not terminated");
            return false;
        }
        if (ctx.mekeyNum > NV_MEKEY_MAX) {
            why = where(c, "too many multi-function keys");
            return false;
        }
        for (const NVContextMEkey& m : ctx.mekeys) {
            if (m.num > NV_EKEY_MAX || m.muxFuncNum > NV_MUXFUNC_MAX) {
                why = where(c, "multi-function key counts out of range");
                return false;
            }
            // A key without sets still reads set 0 as the one in force.
            if (m.index >= (m.muxFuncNum ? m.muxFuncNum : 1)) {
                why = where(c, "multi-function key index out of range");
                return false;
            }
            for (const NVMultiEKey& set : m.muxfunc)
                if (!ekeys_ok(set.ekeys)) {
                    why = where(c, "multi-function key name or command not terminated");
                    return false;
                }
        }
    }
    return true;
}
