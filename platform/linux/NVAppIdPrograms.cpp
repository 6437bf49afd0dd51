#include "platform/linux/NVAppIdPrograms.h"

#include "core/log/NVLog.h"
#include "platform/linux/NVDesktopEntry.h"

#include <algorithm>
#include <cctype>

namespace fs = std::filesystem;

NVAppIdPrograms::NVAppIdPrograms() : NVAppIdPrograms(nv_application_dirs(), nv_exec_env()) {}

NVAppIdPrograms::NVAppIdPrograms(std::vector<fs::path> applicationDirs, NVExecEnv env)
    : dirs_(std::move(applicationDirs)), env_(std::move(env))
{
}

std::string NVAppIdPrograms::program(const std::string& appId)
{
    if (appId.empty())
        return {};
    if (auto it = found_.find(appId); it != found_.end())
        return it->second;
    // An application installed meanwhile is found on its next activation.
    std::string path = lookUp(appId);
    if (!path.empty())
        found_[appId] = path;
    else if (missing_.insert(appId).second)
        nv_log("app_id \"%s\": no desktop entry names its program, the default profile applies", appId.c_str());
    return path;
}

std::string NVAppIdPrograms::lookUp(const std::string& appId) const
{
    // An id is a file name: no folder may be reached through it.
    if (appId.find('/') != std::string::npos || appId == "." || appId == "..")
        return {};
    std::string lower = appId;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const std::string& id : {appId, lower})
        for (const fs::path& dir : dirs_) {
            std::error_code ec;
            const fs::path file = dir / (id + ".desktop");
            if (!fs::is_regular_file(file, ec))
                continue;
            // The first folder's entry stands for the id, even a hidden one (a deleted entry).
            const NVDesktopEntry entry = nv_read_desktop_entry(file, "");
            return entry.hidden || !entry.isApplication ? std::string() : nv_resolve_exec(entry.exec, env_).path;
        }
    return {};
}
