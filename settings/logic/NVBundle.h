// What the settings application knows of itself: its display name and version from
// "<resources>/Info.plist", the brand flavour the name decides, and where it is installed.
#pragma once

#include "settings/logic/NVFlavour.h"

#include <string>

inline constexpr const char* nvSettingsBundleId = "nuvroapp.nuvrotablet";
inline constexpr const char* nvSettingsName = "NuvroTablet";
inline constexpr const char* nvHelperName = "NuvroHelper";

struct NVBundleInfo {
    std::string displayName; // CFBundleDisplayName; "NuvroTablet" when the file has none
    std::string version;     // CFBundleShortVersionString; empty when missing
    NVFlavour flavour = NVFlavour::Primary;
};

// Reads resPath + "/Info.plist".
NVBundleInfo nv_read_bundle_info(const std::string& resPath);

// The install root: the folder above the executable's bin/ ("/opt/NuvroTablet" when
// installed, the build tree otherwise).
std::string nv_bundle_path();
