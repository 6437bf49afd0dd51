// Where the helper looks for updates: the update server's base address (scheme and host,
// no trailing slash) and the update page's path on it, from the helper's Info.plist.
// NUVRO_UPDATE_SERVER overrides the base address (tests, self-hosted mirrors).
#pragma once

#include <string>

inline constexpr const char* nvUpdateServerEnv = "NUVRO_UPDATE_SERVER";
inline constexpr const char* nvUpdateServerKey = "NVUpdateServerAddress";
inline constexpr const char* nvUpdatePagePathKey = "NVUpdatePagePath";

struct NVUpdateServer {
    std::string base;
    std::string pagePath;

    std::string pageAddress() const { return base + pagePath; }
    // The page's link appended to the base address.
    std::string downloadAddress(const std::string& link) const { return base + link; }
};

// Reads "<resPath>/NuvroHelper/Info.plist"; override, when not empty, replaces the base.
// Trailing slashes of the base are dropped. Empty fields when the file lacks them.
NVUpdateServer nv_read_update_server(const std::string& resPath, const char* override);
