#include "core/input/NVHbtnHandler.h"

#include "core/device/libCross/nvParse.h"
#include "core/input/NVDataHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"

int32_t nv_rotated_hbtn_index(int32_t i)
{
    const uint32_t angle = g_gi.cfg.rotateAngle;
    // At 270 the keys keep their order; at 90 and 180 the row is read from the other end.
    if (angle != 90 && angle != 180)
        return i;
    const int32_t n = g_gi.ti.hbtnNum;
    switch (g_gi.ti.devType) {
    case 21:
    case 25: return i == 12 ? i : n - 2 - i;
    case 34:
    case 70: return i == 4 ? i : n - 2 - i;
    case 71: return i == 6 ? i : n - 2 - i;
    case 93:
        switch (i) {
        case 3: return 4;
        case 4: return 3;
        case 6: return 7;
        case 7: return 6;
        default: return n - 1 - i;
        }
    default: return n - 1 - i;
    }
}

void NVHbtnHandler::handleData(const uint8_t* report) { handleHBtn(report_hbtn_id(report)); }

bool NVHbtnHandler::handleHBtn(uint32_t code)
{
    if (g_gi.cfg.bEnableHBtn == 0)
        return true;
    const int32_t i = parse_index_hbtn(code != 0 ? code : lastKey_);
    nv_log("%d", i);
    // Codes past the tablet's keys (or the record's 16) and rotations that leave the row
    // would read outside hbtns.
    const int32_t keys = g_gi.ti.hbtnNum < NV_EKEY_MAX ? g_gi.ti.hbtnNum : NV_EKEY_MAX;
    if (i < 0 || i >= keys)
        return false;
    const int32_t at = nv_rotated_hbtn_index(i);
    if (at < 0 || at >= keys)
        return false;
    handler_.performKey(nv_current_context().hbtns[at], code != 0 ? NVEKEVT_DOWN : NVEKEVT_UP);
    lastKey_ = code;
    return true;
}

void NVHbtnHandler::resetState()
{
    if (lastKey_ != 0)
        handleHBtn(0);
}
