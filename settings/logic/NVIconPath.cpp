#include "settings/logic/NVIconPath.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSizes[] = {"256x256", "512x512", "192x192", "128x128", "96x96", "72x72",
                                  "64x64",   "48x48",   "scalable", "32x32",  "24x24", "16x16"};
constexpr const char* kExtensions[] = {".png", ".svg", ".xpm"};

bool is_file(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

} // namespace

fs::path nv_icon_file(const std::string& icon, const std::vector<fs::path>& dataDirs)
{
    if (icon.empty())
        return {};
    if (icon.front() == '/')
        return is_file(icon) ? fs::path(icon) : fs::path();
    if (icon.find('/') != std::string::npos)
        return {};
    for (const char* size : kSizes)
        for (const fs::path& d : dataDirs)
            for (const char* ext : kExtensions)
                if (const fs::path p = d / "icons" / "hicolor" / size / "apps" / (icon + ext); is_file(p))
                    return p;
    for (const fs::path& d : dataDirs)
        for (const char* ext : kExtensions)
            if (const fs::path p = d / "pixmaps" / (icon + ext); is_file(p))
                return p;
    return {};
}
