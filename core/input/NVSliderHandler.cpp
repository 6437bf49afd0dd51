#include "core/input/NVSliderHandler.h"

#include "core/device/libCross/nvParse.h"
#include "core/input/NVDataHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"

uint16_t NVSliderHandler::last_slider_id = 0;

void NVSliderHandler::handleData1(const uint8_t* report)
{
    if (g_gi.cfg.bEnableMBtn == 0)
        return;
    const uint16_t p = report_slider_id(report);
    if (p != 0 && last_slider_id != 0) {
        const bool up = last_slider_id < p;
        const int d = up ? p - last_slider_id : last_slider_id - p;
        // A jump of 7 or more is the wrap-around of a ring, the other way round.
        const uint32_t k = (d > 6) != up ? 1 : 0;
        nv_log("index == %d", k);
        NVContextEkeys& ctx = nv_current_context();
        if (NVEkey* key = nv_mekey_position(ctx, ctx.mekeys[0].index, k)) {
            handler_.performKey(*key, NVEKEVT_DOWN);
            handler_.performKey(*key, NVEKEVT_UP);
        }
    }
    last_slider_id = p;
}
