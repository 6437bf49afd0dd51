// The program behind a Wayland app_id, which names a window's application by its desktop
// entry: the entry "<app_id>.desktop" (as given, else in lower case) of the XDG application
// folders, and the program its Exec line runs, as the application list stores it.
#pragma once

#include "platform/linux/NVExecPath.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

class NVAppIdPrograms {
public:
    NVAppIdPrograms();
    NVAppIdPrograms(std::vector<std::filesystem::path> applicationDirs, NVExecEnv env);

    // Empty when no entry or no program is found; that is logged once for each app_id.
    // A found program is kept: the folders are read once per app_id.
    std::string program(const std::string& appId);

private:
    std::string lookUp(const std::string& appId) const;

    std::vector<std::filesystem::path> dirs_;
    NVExecEnv env_;
    std::map<std::string, std::string> found_;
    std::set<std::string> missing_;
};
