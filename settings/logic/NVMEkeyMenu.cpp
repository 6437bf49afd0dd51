#include "settings/logic/NVMEkeyMenu.h"

#include "core/device/NVModelTable.h"
#include "core/log/NVLog.h"
#include "core/model/NVText.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool is_one_of(uint32_t v, std::initializer_list<uint32_t> list)
{
    return std::find(list.begin(), list.end(), v) != list.end();
}

int clamp_mekey(const NVContextEkeys& c, int k)
{
    const int n = std::min<int>(c.mekeyNum, NV_MEKEY_MAX);
    return k >= 0 && k < n ? k : 0;
}

std::string name_of(const NVLayoutTablet& layout, int list, int j)
{
    if (!layout.mekeyNames || list < 0 || static_cast<uint32_t>(list) >= layout.mekeyNamesAlloc)
        return {};
    const NVMEkeyName& names = layout.mekeyNames[list];
    if (!names.names || j < 0 || static_cast<uint32_t>(j) >= names.num)
        return {};
    return std::string(names.names[j], strnlen(names.names[j], NV_STR_MAX));
}

} // namespace

std::vector<NVMEkeyMenuItem> nv_mekey_menu(const NVMEkeyMenuInput& in, const NVEkeyNames& names)
{
    std::vector<NVMEkeyMenuItem> items;
    const NVContextEkeys& c = *in.context;
    if (in.devType == NVTT_UNKNOW) {
        nv_log("g_ui.ti.devType == NVTT_UNKNOW");
        return items;
    }
    if (c.mekeyNum == 0)
        return items;
    const int sets = std::min<int>(c.mekeys[0].muxFuncNum, NV_MUXFUNC_MAX);
    const int funcs = std::min<int>(c.mekeys[0].num, NV_EKEY_MAX);
    const auto text = [&](int k, int s, int f) { return string_from_ekey(c.mekeys[k].muxfunc[s].ekeys[f], names); };
    const auto decoded_name = [&](int k, int s, int f) {
        return nv_percent_decode_lenient(nv_buffer_text(c.mekeys[k].muxfunc[s].ekeys[f].name));
    };

    const bool separated = is_one_of(in.devType, {21, 22, 24, 25, 32, 34, 35, 36, 38, 45, 70, 71, 72, 74, 95});
    if (separated || is_one_of(in.devType, {37, 81})) {
        const int k = in.devType == 45 ? 0 : clamp_mekey(c, in.currentMEkey);
        for (int s = 0; s < sets; ++s) {
            for (int f = 0; f < funcs; ++f)
                items.push_back({false, text(k, s, f), decoded_name(k, s, f), {k, s, f}});
            if (separated)
                items.push_back({true, {}, {}, {}});
        }
    } else if (is_one_of(in.devType, {7, 8, 13})) {
        const int keys = in.layout && in.layout->mekeyNames && in.layout->mekeyNamesAlloc > 0
                             ? static_cast<int>(std::min<uint32_t>(in.layout->mekeyNames[0].num, NV_EKEY_MAX))
                             : 0;
        for (int s = 0; s < sets; ++s)
            for (int j = 0; j < keys; ++j) {
                if ((in.devType != 7 && j >= 6 && j <= 9) || (in.devType == 7 && (j == 8 || j == 9)))
                    continue;
                items.push_back({false, name_of(*in.layout, 0, j), text(0, 0, j), {}});
            }
    } else if (in.set >= 0 && in.set < sets) {
        const int k = clamp_mekey(c, in.currentMEkey);
        for (int j = 0; j < sets; ++j)
            items.push_back({false, in.layout ? name_of(*in.layout, in.set, j) : std::string(), text(k, in.set, j),
                             {k, in.set, j}});
    }
    return items;
}

int nv_mekey_initial_set(uint32_t devType, int curEkeyIndex, int hbtnNum, int sbtnNum)
{
    if (is_one_of(devType, {7, 8, 13, 22, 24, 32, 37, 38, 45, 72, 74, 81}))
        return 0;
    return std::max(0, curEkeyIndex - hbtnNum - sbtnNum);
}

NVEkey* nv_mekey_record(NVContextEkeys& context, const NVMEkeyRef& ref)
{
    if (ref.mekey < 0 || ref.mekey >= std::min<int>(context.mekeyNum, NV_MEKEY_MAX) || ref.set < 0 ||
        ref.set >= NV_MUXFUNC_MAX || ref.func < 0 || ref.func >= NV_EKEY_MAX)
        return nullptr;
    return &context.mekeys[ref.mekey].muxfunc[ref.set].ekeys[ref.func];
}
