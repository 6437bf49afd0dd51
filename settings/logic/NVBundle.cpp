#include "settings/logic/NVBundle.h"

#include "core/config/NVConfigPaths.h"
#include "settings/logic/NVPlistFile.h"

#include <filesystem>

NVBundleInfo nv_read_bundle_info(const std::string& resPath)
{
    NVBundleInfo info;
    info.displayName = nvSettingsName;
    if (const auto dict = nv_plist_file_read(resPath + "/Info.plist")) {
        if (const std::string& name = nv_plist_string(*dict, "CFBundleDisplayName"); !name.empty())
            info.displayName = name;
        info.version = nv_plist_string(*dict, "CFBundleShortVersionString");
    }
    info.flavour = nv_flavour_from_display_name(info.displayName);
    return info;
}

std::string nv_bundle_path()
{
    const std::string bin = get_cur_path();
    return bin.empty() ? std::string() : std::filesystem::path(bin).parent_path().string();
}
