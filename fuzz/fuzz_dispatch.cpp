// Arbitrary report streams through the dispatcher, on an arbitrary tablet description and
// key layout: no report may read or write outside the records.
#include "core/device/libCross/nvParse.h"
#include "core/events/NVMacFunc.h"
#include "core/input/NVDataHandler.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"

#include <cstring>

namespace {

// Everything but the function-set switch, which writes the user's configuration file.
constexpr uint64_t kKinds = 0x1FF;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kHeader = 12;
    if (size < kHeader)
        return 0;
    std::memset(&g_gi.ti, 0, sizeof g_gi.ti);
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    std::memset(&g_gi.tabletLayout, 0, sizeof g_gi.tabletLayout);
    g_gi.sbtnInRect = {};
    g_gi.ti.devType = data[0];
    g_gi.ti.hbtnNum = data[1];
    g_gi.ti.sbtnNum = data[2];
    g_gi.ti.maxX = 1u + data[3] * 200u;
    g_gi.ti.maxY = 1u + data[4] * 120u;
    g_gi.ti.maxP = 8191;
    g_gi.ti.bMonitor = data[5] & 0x02;
    g_gi.cfg.bCtrlCursor = 1;
    g_gi.cfg.bEnableHBtn = data[5] & 0x10;
    g_gi.cfg.bEnableSBtn = data[5] & 0x20;
    g_gi.cfg.bEnableMBtn = data[5] & 0x40;
    g_gi.cfg.bAbsoluteMode = data[5] & 0x80;
    g_gi.cfg.rotateAngle = 90u * (data[6] & 3);
    g_gi.cfg.curScreenIndex = data[6] >> 4;
    g_gi.cfg.workarea = {data[7] / 255.0f, data[8] / 255.0f, data[9] / 255.0f, data[10] / 255.0f};
    for (NVContextEkeys& ctx : g_gi.cfg.contexts) {
        for (int i = 0; i < NV_EKEY_MAX; ++i) {
            ctx.hbtns[i].funcBit = ctx.sbtns[i].funcBit = ctx.pbtns[i].funcBit = (i * 37u + data[11]) & kKinds;
            ctx.hbtns[i].kbtn.kbKeys[0] = static_cast<uint8_t>(i + 1);
        }
        ctx.mekeys[0].num = data[11];
        ctx.mekeys[0].muxFuncNum = data[11] >> 4;
        ctx.mekeys[0].index = data[11] & 7;
        for (NVMultiEKey& set : ctx.mekeys[0].muxfunc)
            for (NVEkey& k : set.ekeys)
                k.funcBit = data[11] & kKinds;
    }
    currentAppIndex_kernel = data[6] & 7;

    FakeDisplays displays({{1, {0, 0, 1920, 1080}}, {2, {1920, 0, 1280, 1024}}});
    ManualClock clock;
    NVDataHandler handler(displays, clock);
    for (size_t at = kHeader; at + NV_REPORT_SIZE <= size; at += NV_REPORT_SIZE) {
        clock.advance(0.01 * (data[at] >> 4));
        uint8_t r[NV_REPORT_SIZE];
        std::memcpy(r, data + at, sizeof r);
        r[0] = 8;
        handler.handleData(r);
    }
    handler.resetState();
    NVMacFunc::resetState();
    return 0;
}
