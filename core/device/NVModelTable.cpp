#include "core/device/NVModelTable.h"

#include <array>
#include <cstring>

#define NV_MODEL(id, ...) const char NV_DTS_##id[] = #id;
#include "core/device/NVModels.def"
#undef NV_MODEL

const char NV_DTS_UNKNOW[] = "UNKNOW";

const char NV_OTS_NOBRAND[] = "NOBRAND";
const char NV_OTS_NUVRO[] = "NUVRO";
const char NV_OTS_KELTA[] = "KELTA";
const char NV_OTS_ORVANE[] = "ORVANE";
const char NV_OTS_DELQUA[] = "DELQUA";
const char NV_OTS_BOSKA[] = "BOSKA";
const char NV_OTS_MIRANTEK[] = "MIRANTEK";
const char NV_OTS_QRVN[] = "QRVN";
const char NV_OTS_UNKNOW[] = "UNKNOW";

const char NV_PEN_STANDARD[] = "NUVRO_PF00";

namespace {

constexpr NVModelInfo kModels[] = {
#define NV_MODEL(id, devType, oemType, pen, maxX, maxY, maxP, lpi, rate, hb, sb, pb, mon, mek, p0, s0, p1, s1) \
    {#id, devType, oemType, pen, maxX, maxY, maxP, lpi, rate, hb, sb, pb, mon, mek, {p0, p1}, {s0, s1}},
#include "core/device/NVModels.def"
#undef NV_MODEL
};

constexpr size_t count_maker()
{
    size_t n = 0;
    while (n < std::size(kModels) && kModels[n].oemType == NV_OEM_MAKER)
        ++n;
    return n;
}

constexpr size_t kMakerCount = count_maker();

// devType - 1 -> model, the parallel lookup of the identity and pen-node tables.
constexpr std::array<const NVModelInfo*, 100> build_index()
{
    std::array<const NVModelInfo*, 100> index{};
    for (const auto& m : kModels)
        index[m.devType - 1] = &m;
    return index;
}

constexpr auto kByDevType = build_index();

constexpr bool table_is_consistent()
{
    std::array<bool, 100> seen{};
    for (size_t i = 0; i < std::size(kModels); ++i) {
        const auto& m = kModels[i];
        if (m.devType < 1 || m.devType > 100 || seen[m.devType - 1])
            return false;
        seen[m.devType - 1] = true;
        if ((i < kMakerCount) != (m.oemType == NV_OEM_MAKER))
            return false; // maker models first, then OEM models
        if (m.hbtnNum > 16 || m.sbtnNum > 16 || m.mekeyNum > 2)
            return false;
        for (int k = 0; k < 2; ++k) {
            const bool used = k < m.mekeyNum;
            if (used != (m.mekeyPositions[k] > 0) || m.mekeyPositions[k] > 16 || m.mekeySets[k] > 4
                || used != (m.mekeySets[k] > 0))
                return false;
        }
    }
    return true;
}

static_assert(table_is_consistent(), "model table: devType out of range or repeated, or counts beyond the record");

} // namespace

std::span<const NVModelInfo> nv_maker_models()
{
    return {kModels, kMakerCount};
}

std::span<const NVModelInfo> nv_oem_models()
{
    return {kModels + kMakerCount, std::size(kModels) - kMakerCount};
}

const NVModelInfo* nv_model_info(uint32_t devType)
{
    if (devType < 1 || devType > 100)
        return nullptr;
    return kByDevType[devType - 1];
}

const NVModelInfo* nv_model_by_identity(const char* name)
{
    if (!name)
        return nullptr;
    for (const auto& m : kModels)
        if (std::strcmp(m.identity, name) == 0)
            return &m;
    return nullptr;
}

NVTabletInfo nv_model_tablet_info(const NVModelInfo& m)
{
    NVTabletInfo ti{};
    ti.devType = m.devType;
    ti.oemType = m.oemType;
    ti.maxX = m.maxX;
    ti.maxY = m.maxY;
    ti.maxP = m.maxP;
    ti.lpi = m.lpi;
    ti.rate = m.rate;
    ti.hbtnNum = m.hbtnNum;
    ti.sbtnNum = m.sbtnNum;
    ti.pbtnNum = m.pbtnNum;
    ti.bMonitor = m.bMonitor;
    return ti;
}
