#include "core/model/NVEkeyFunc.h"

#include <bit>

void set_NVEkeyFuncType_event(uint32_t funcBit, uint64_t* funcEvent, uint32_t event)
{
    const uint64_t ev = event & 3u;
    for (uint32_t bits = funcBit; bits != 0; bits &= bits - 1) {
        const int i = std::countr_zero(bits);
        *funcEvent |= ev << (2 * i);
    }
}

void set_NVEkeyFuncType_all_event(uint64_t* funcEvent, uint32_t event)
{
    *funcEvent = 0;
    set_NVEkeyFuncType_event(0xFFFFFFFFu, funcEvent, event);
}

uint32_t get_NVEkeyFuncType_event(uint32_t funcBit, uint64_t funcEvent)
{
    if (funcBit == 0)
        return 0;
    const int h = 31 - std::countl_zero(funcBit);
    return static_cast<uint32_t>((funcEvent >> (2 * h)) & 3u);
}
