// Every pressure curve over its whole input range: starts at 0, ends at maxP (up to
// truncation), never falls, never leaves [0, maxP], whatever maxP and the factor are.
#include "core/model/NVGeometry.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    static NVConfig* cfg = [] {
        auto* c = static_cast<NVConfig*>(std::calloc(1, sizeof(NVConfig)));
        return c;
    }();
    cfg->pressFactor = static_cast<int8_t>(data[0]) % 6;
    const uint32_t maxP = static_cast<uint32_t>(data[1] | data[2] << 8);

    if (calibrate_press(cfg, 0, maxP) != 0)
        std::abort();
    uint32_t prev = 0;
    for (uint32_t x = 1; x <= maxP; ++x) {
        const uint32_t y = calibrate_press(cfg, x, maxP);
        if (y < prev || y > maxP)
            std::abort();
        prev = y;
    }
    if (maxP > 0 && prev + 1 < maxP)
        std::abort();
    // Values beyond maxP never leave the range either.
    if (size >= 7) {
        uint32_t raw;
        std::memcpy(&raw, data + 3, sizeof raw);
        if (calibrate_press(cfg, raw, maxP) > maxP)
            std::abort();
    }
    return 0;
}
