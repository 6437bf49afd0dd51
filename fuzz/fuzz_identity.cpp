// Identity descriptors as a hostile device could send them.
#include "core/device/libCross/nvParse.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The USB layer hands over zero-filled 256-byte descriptor buffers.
    uint8_t text[256] = {};
    uint8_t block[256] = {};
    std::memcpy(text, data, size < sizeof text ? size : sizeof text);
    if (size > sizeof text)
        std::memcpy(block, data + sizeof text, std::min(size - sizeof text, sizeof block));

    uint16_t units[128];
    std::memcpy(units, text, sizeof units);

    NVTabletInfo ti{};
    const int known = parse_str_201(units, &ti);
    parse_str_200(block, &ti);
    if (ti.sDevVer[sizeof ti.sDevVer - 1] != '\0')
        std::abort();
    if ((known == 1) != (ti.devType != 0) || ti.devType > 100)
        std::abort();
    if (std::strcmp(get_dev_type(ti.devType), "UNKNOW") == 0 && known)
        std::abort();
    get_oem_type(ti.oemType);
    get_pen_node_in_xml(ti.devType);

    // The converter with an exactly sized heap buffer: any write past it is caught.
    const int32_t dstSize = size ? data[0] % 64 : 0;
    std::vector<char> dst(static_cast<size_t>(dstSize));
    const int32_t n = str_utf16_to_utf8(units, 128, dst.empty() ? nullptr : dst.data(), dstSize);
    if (dstSize > 0 && n > dstSize)
        std::abort();
    return 0;
}
