#include "settings/logic/NVFlavour.h"

#include "core/device/libCross/nvParse.h"

namespace {

constexpr const char* kPrimaryIds[] = {"NUVRO", "OEM19"};
constexpr const char* kSecondIds[] = {"OEM02"};
constexpr const char* kThirdIds[] = {"OEM00", "OEM14", "OEM19"};

const NVFlavourTraits kPrimary{
    "VCNuvroUI", "str_M_Tablet", true, "%s/res/NuvroUI/Nuvro_icon%d.jpg", true,
    "%s/res/NuvroUI/Nuvro_bg.jpg", true, false, kPrimaryIds, true};
const NVFlavourTraits kSecond{
    "VCkeltaUI", "Kelta Graphics Tablet", true, "%s/res/KeltaUI/Kelta_icon%d.png", false,
    nullptr, false, true, kSecondIds, false};
const NVFlavourTraits kThird{
    "VCkeltaUI", "str_M_Tablet_OEM", false, "%s/res/KeltaUI/Kelta_icon%d.png", false,
    nullptr, false, true, kThirdIds, false};

} // namespace

NVFlavour nv_flavour_from_display_name(std::string_view displayName)
{
    if (displayName == "NuvroTablet")
        return NVFlavour::Primary;
    if (displayName == "KeltaTablet")
        return NVFlavour::Second;
    return NVFlavour::Third;
}

const NVFlavourTraits& nv_flavour_traits(NVFlavour flavour)
{
    switch (flavour) {
    case NVFlavour::Primary: return kPrimary;
    case NVFlavour::Second: return kSecond;
    case NVFlavour::Third: break;
    }
    return kThird;
}

bool nv_flavour_accepts_id(NVFlavour flavour, std::string_view modelId)
{
    for (const char* id : nv_flavour_traits(flavour).acceptedIds)
        if (modelId.find(id) != std::string_view::npos)
            return true;
    return false;
}

bool nv_flavour_accepts_tablet(NVFlavour flavour, uint32_t devType)
{
    return devType != 0 && nv_flavour_accepts_id(flavour, get_dev_type(devType));
}
