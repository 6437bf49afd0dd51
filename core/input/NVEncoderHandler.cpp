#include "core/input/NVEncoderHandler.h"

#include "core/input/NVDataHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"

void NVEncoderHandler::handleData(const uint8_t* report)
{
    if (g_gi.cfg.bEnableMBtn == 0)
        return;
    direction_ = report[5];
    if (direction_ == 0)
        return;
    // The dial always follows the default context, whatever application is in front.
    NVContextEkeys& ctx = g_gi.cfg.contexts[0];
    if (NVEkey* key = nv_mekey_position(ctx, ctx.mekeys[0].index, direction_ - 1u)) {
        handler_.performKey(*key, NVEKEVT_DOWN);
        handler_.performKey(*key, NVEKEVT_UP);
    }
}
