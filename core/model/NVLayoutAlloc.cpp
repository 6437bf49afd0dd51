#include "core/model/NVLayoutAlloc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

void free_mekey_names(NVMEkeyName* names, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        for (uint32_t j = 0; j < names[i].num; ++j)
            std::free(names[i].names[j]);
        std::free(names[i].names);
    }
    std::free(names);
}

// A name table of num zeroed buffers; on exhausted memory it keeps what it got, with
// num counting exactly the buffers that exist.
NVMEkeyName alloc_mekey_name(uint32_t num)
{
    NVMEkeyName n{0, nullptr};
    if (num == 0)
        return n;
    n.names = static_cast<char**>(std::calloc(num, sizeof(char*)));
    if (!n.names)
        return n;
    for (; n.num < num; ++n.num) {
        n.names[n.num] = static_cast<char*>(std::calloc(1, NV_STR_MAX));
        if (!n.names[n.num])
            break;
    }
    return n;
}

} // namespace

void free_NVTabletLayout(NVLayoutTablet* layout)
{
    if (!layout)
        return;
    std::free(layout->ekLayouts);
    if (layout->mekeyNames)
        free_mekey_names(layout->mekeyNames, layout->mekeyNamesAlloc);
    std::memset(layout, 0, sizeof(*layout));
}

void realloc_NVTabletLayout(uint32_t n, const NVConfig* cfg, NVLayoutTablet* layout)
{
    if (!layout)
        return;
    free_NVTabletLayout(layout);
    if (n == 0)
        return;
    layout->ekLayouts = static_cast<NVLayoutEkey*>(std::calloc(n, sizeof(NVLayoutEkey)));
    layout->ekLayoutsAlloc = layout->ekLayouts ? n : 0;
    if (!cfg)
        return;
    const NVContextEkeys& ctx = cfg->contexts[0];
    const uint32_t mekeys = std::min<uint32_t>(ctx.mekeyNum, NV_MEKEY_MAX);
    if (mekeys == 0)
        return;
    layout->mekeyNames = static_cast<NVMEkeyName*>(std::calloc(mekeys, sizeof(NVMEkeyName)));
    if (!layout->mekeyNames)
        return;
    layout->mekeyNamesAlloc = mekeys;
    for (uint32_t i = 0; i < mekeys; ++i)
        layout->mekeyNames[i] = alloc_mekey_name(std::min<uint32_t>(ctx.mekeys[i].num, NV_EKEY_MAX));
}

void realloc_NVPenLayout(uint32_t n, NVLayoutPen* layout)
{
    if (!layout)
        return;
    std::free(layout->ekLayouts);
    layout->ekLayouts = nullptr;
    layout->size = NVSize{0, 0};
    layout->ekNum = 0;
    if (n > 0)
        layout->ekLayouts = static_cast<NVLayoutEkey*>(std::calloc(n, sizeof(NVLayoutEkey)));
}

void free_NVPenLayout(NVLayoutPen* layout)
{
    if (!layout)
        return;
    std::free(layout->ekLayouts);
    std::memset(layout, 0, sizeof(*layout));
}

void free_NVDevCfg(NVConfig* cfg, const NVTabletInfo*)
{
    if (cfg)
        std::memset(cfg, 0, sizeof(*cfg));
}
