#include "core/input/NVTouchHandler.h"

#include "core/device/libCross/nvParse.h"
#include "core/input/NVDataHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"

int32_t NVTouchHandler::lastIndex = -1;

namespace {

// Ids that these models report for keys they do not have.
bool is_ignored(int32_t i, uint32_t devType)
{
    if ((devType == 13 || devType == 8) && i >= 6 && i <= 9)
        return true;
    return devType == 7 && (i == 8 || i == 9);
}

} // namespace

void NVTouchHandler::handleData(const uint8_t* report)
{
    if (g_gi.cfg.bEnableMBtn == 0)
        return;
    const int32_t i = parse_index_touch(report_touch_id(report));
    nv_log("touch id:%d\n", i);
    if (is_ignored(i, g_gi.ti.devType))
        return;
    if (i >= 0 && i != lastIndex) {
        if (NVEkey* key = nv_mekey_position(nv_current_context(), 0, static_cast<uint32_t>(i)))
            handler_.performKey(*key, NVEKEVT_CLICK);
    }
    lastIndex = i;
}
