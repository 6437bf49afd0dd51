// Decodes a few built-in tablet identities and reports and prints what they say.
#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint16_t> utf16(const std::string& s)
{
    std::vector<uint16_t> units(s.begin(), s.end());
    units.resize(64, 0);
    return units;
}

void show_identity(const char* text, const uint8_t* block)
{
    NVTabletInfo ti{};
    const auto units = utf16(text);
    const int known = parse_str_201(units.data(), &ti);
    parse_str_200(block, &ti);
    std::printf("identity \"%s\": %s model %s (devType %u), brand %s, pen %s\n", text,
                known ? "known" : "unknown", get_dev_type(ti.devType), ti.devType,
                get_oem_type(ti.oemType), get_pen_node_in_xml(ti.devType));
    std::printf("  area %ux%u, pressure 0..%u, %u lpi, %u reports/s, keys %u hard %u soft %u pen, %s\n",
                ti.maxX, ti.maxY, ti.maxP, ti.lpi, ti.rate, ti.hbtnNum, ti.sbtnNum, ti.pbtnNum,
                ti.bMonitor ? "pen display" : "tablet");
}

void show_report(const uint8_t* r)
{
    if (is_invalid_report(r)) {
        std::printf("report id %u: invalid, dropped\n", r[0]);
        return;
    }
    const uint8_t type = report_type(r);
    switch (type) {
    case 0xE0:
        std::printf("hard keys mask 0x%08x -> key %d\n", report_hbtn_id(r), parse_index_hbtn(report_hbtn_id(r)));
        break;
    case 0xE1:
        std::printf("touch id %u -> key %d\n", report_touch_id(r), parse_index_touch(report_touch_id(r)));
        break;
    case 0xF0:
        std::printf("touch strip position %u\n", report_slider_id(r));
        break;
    case 0xF1:
        std::printf("dial step %u\n", report_slider_id(r));
        break;
    default:
        std::printf("pen type 0x%02x at (%u, %u) pressure %u tilt (%d, %d)\n", type, report_x(r), report_y(r),
                    report_p(r), report_ax(r), report_ay(r));
    }
}

} // namespace

int main()
{
    std::printf("Nuvro tablet driver suite: %zu maker models and %zu OEM models supported\n\n",
                nv_maker_models().size(), nv_oem_models().size());

    const uint8_t block[NV_INFO_BLOCK_SIZE] = {0x40, 0xC6, 0x00, 0x06, 0x7C, 0x00, 0xFF, 0x3F, 0xD8,
                                               0x13, 0x02, 0x08, 0x00, 0x00, 0x00, 0x00, 50};
    const auto& first = nv_maker_models().front();
    const auto& oem = nv_oem_models().front();
    show_identity((std::string("HID ") + first.identity).c_str(), block);
    show_identity(oem.identity, block);
    show_identity("SOMEONE_ELSE", block);
    std::printf("\n");

    const uint8_t reports[][NV_REPORT_SIZE] = {
        {0x08, 0x80, 0x34, 0x12, 0x78, 0x56, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00},
        {0x08, 0x81, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10, 0x01, 0x02, 0xF0, 0x10},
        {0x08, 0xE0, 0x00, 0x00, 0x21, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
        {0x08, 0xE1, 0x00, 0x00, 0x24, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
        {0x08, 0xF0, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
        {0x09, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    };
    for (const auto& r : reports)
        show_report(r);
    return 0;
}
