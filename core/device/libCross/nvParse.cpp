#include "core/device/libCross/nvParse.h"

#include "core/device/NVModelTable.h"
#include "core/model/NVText.h"

#include <bit>
#include <cassert>
#include <cstring>

namespace {

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le24(const uint8_t* p) { return p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16; }
uint32_t le32(const uint8_t* p) { return le24(p) | static_cast<uint32_t>(p[3]) << 24; }

} // namespace

bool is_invalid_report(const uint8_t* r) { return r[0] != NV_REPORT_ID; }
uint8_t report_type(const uint8_t* r) { return r[1]; }
uint32_t report_x(const uint8_t* r) { return le16(r + 2) | static_cast<uint32_t>(r[8]) << 16; }
uint32_t report_y(const uint8_t* r) { return le16(r + 4) | static_cast<uint32_t>(r[9]) << 16; }
uint16_t report_p(const uint8_t* r) { return le16(r + 6); }
int8_t report_ax(const uint8_t* r) { return static_cast<int8_t>(r[10]); }
int8_t report_ay(const uint8_t* r) { return static_cast<int8_t>(r[11]); }
uint32_t report_hbtn_id(const uint8_t* r) { return le32(r + 4); }
uint8_t report_slider_id(const uint8_t* r) { return r[5]; }
uint16_t report_touch_id(const uint8_t* r) { return le16(r + 4); }

uint32_t parse_maxx(const uint8_t* b) { return le24(b); }
uint32_t parse_maxy(const uint8_t* b) { return le24(b + 3); }
uint16_t parse_maxp(const uint8_t* b) { return le16(b + 6); }
uint16_t parse_lpi(const uint8_t* b) { return le16(b + 8); }
uint8_t parse_pbtn_num(const uint8_t* b) { return b[10]; }
uint8_t parse_hbtn_num(const uint8_t* b) { return b[11]; }
uint8_t parse_sbtn_num(const uint8_t* b) { return b[12]; }
uint8_t parse_is_monitor(const uint8_t* b) { return b[14] & 0x0A; }
uint8_t parse_rate(const uint8_t* b) { return b[16]; }

void parse_str_200(const uint8_t* block, NVTabletInfo* ti)
{
    ti->maxX = parse_maxx(block);
    ti->maxY = parse_maxy(block);
    ti->maxP = parse_maxp(block);
    ti->lpi = parse_lpi(block);
    ti->rate = static_cast<uint16_t>(parse_rate(block) * 4);
    ti->hbtnNum = parse_hbtn_num(block);
    ti->sbtnNum = parse_sbtn_num(block);
    ti->pbtnNum = parse_pbtn_num(block);
    ti->bMonitor = parse_is_monitor(block);
}

int parse_str_201(const uint16_t* text, NVTabletInfo* ti)
{
    char buf[NV_IDENTITY_UNITS * 3 + 1] = {};
    str_utf16_to_utf8(text, NV_IDENTITY_UNITS, buf, sizeof buf - 1);

    ti->devType = NVTT_UNKNOW;
    ti->oemType = NV_OEM_MAKER;
    nv_copy_to_buffer(ti->sDevVer, buf);

    for (const auto& m : nv_maker_models()) {
        if (std::strstr(buf, m.identity)) {
            ti->devType = m.devType;
            return 1;
        }
    }
    for (const auto& m : nv_oem_models()) {
        if (std::strstr(buf, m.identity)) {
            ti->devType = m.devType;
            ti->oemType = m.oemType;
            return 1;
        }
    }
    return 0;
}

int32_t char_unicode_to_utf8(uint32_t code, uint8_t* out, int32_t outSize)
{
    assert(out != nullptr && "pOutput != NULL");
    assert(outSize >= 3 && "outSize >= 3");
    (void)outSize;
    if (code < 0x80) {
        out[0] = static_cast<uint8_t>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<uint8_t>(0xC0 | code >> 6);
        out[1] = static_cast<uint8_t>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<uint8_t>(0xE0 | code >> 12);
        out[1] = static_cast<uint8_t>(0x80 | (code >> 6 & 0x3F));
        out[2] = static_cast<uint8_t>(0x80 | (code & 0x3F));
        return 3;
    }
    return 0;
}

int32_t str_utf16_to_utf8(const uint16_t* src, uint32_t count, char* dst, int32_t dstSize)
{
    const bool countOnly = dst == nullptr || dstSize <= 0;
    int32_t written = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t bytes[4];
        const int32_t n = char_unicode_to_utf8(src[i], bytes, sizeof bytes);
        if (n == 0)
            return -1;
        if (!countOnly) {
            if (n > dstSize - written)
                break;
            std::memcpy(dst + written, bytes, static_cast<size_t>(n));
        }
        written += n;
    }
    return written;
}

int32_t parse_index_hbtn(uint32_t mask)
{
    if (mask == 0)
        return 0;
    if (mask & 0x80000000u)
        return -1;
    return 31 - std::countl_zero(mask);
}

int32_t parse_index_touch(uint16_t id)
{
    if (id == 1)
        return 0;
    if (id >= 17 && id <= 25)
        return id - 16;
    switch (id) {
    case 36: return 10;
    case 37: return 11;
    case 49: return 12;
    default: return -1;
    }
}

int32_t orientate_slide(int32_t a, int32_t b)
{
    if (a == b)
        return 0;
    // A jump of more than one position is the wrap-around of the ring, the other way.
    if (a < b)
        return b - a == 1 ? 1 : -1;
    return a - b == 1 ? -1 : 1;
}

const char* get_dev_type(uint32_t devType)
{
    const NVModelInfo* m = nv_model_info(devType);
    return m ? m->identity : NV_DTS_UNKNOW;
}

const char* get_oem_type(uint32_t oemType)
{
    switch (oemType) {
    case 1: return NV_OTS_NOBRAND;
    case 2: return NV_OTS_NUVRO;
    case 3: return NV_OTS_KELTA;
    case 9: return NV_OTS_ORVANE;
    case 10: return NV_OTS_DELQUA;
    case 17: return NV_OTS_BOSKA;
    default: return NV_OTS_UNKNOW;
    }
}

const char* get_pen_node_in_xml(uint32_t devType)
{
    const NVModelInfo* m = nv_model_info(devType);
    return m ? m->penNode : NV_PEN_STANDARD;
}
