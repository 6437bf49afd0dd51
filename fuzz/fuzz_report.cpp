// Report accessors and key decoders on arbitrary report bytes.
#include "core/device/libCross/nvParse.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < NV_REPORT_SIZE)
        return 0;
    uint8_t r[NV_REPORT_SIZE];
    std::memcpy(r, data, sizeof r);

    if (is_invalid_report(r) != (r[0] != 8))
        std::abort();
    if (report_x(r) > 0xFFFFFF || report_y(r) > 0xFFFFFF)
        std::abort();
    const int32_t h = parse_index_hbtn(report_hbtn_id(r));
    if (h < -1 || h > 30)
        std::abort();
    const int32_t t = parse_index_touch(report_touch_id(r));
    if (t < -1 || t > 12)
        std::abort();
    const int32_t s = orientate_slide(r[5], r[6]);
    if (s < -1 || s > 1 || (s == 0) != (r[5] == r[6]))
        std::abort();
    volatile int sink = report_type(r) + report_p(r) + report_ax(r) + report_ay(r) + report_slider_id(r);
    (void)sink;
    return 0;
}
