#include "settings/logic/NVRemovalPlan.h"

#include "core/log/NVLog.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

void add_kill(NVRemovalPlan& plan, std::string name)
{
    plan.privileged.push_back({NVPrivilegedKind::Kill, std::move(name)});
}

void add_remove(NVRemovalPlan& plan, std::string path)
{
    plan.privileged.push_back({NVPrivilegedKind::Remove, std::move(path)});
}

void add_remove_package(NVRemovalPlan& plan)
{
    plan.privileged.push_back({NVPrivilegedKind::RemovePackage, nv_suite_package_name()});
}

// A folder of the suite goes with its package when the package owns it.
void remove_folder(const NVFileProbe& fs, NVRemovalPlan& plan, std::string folder)
{
    if (nv_installed_by_package(fs, folder))
        add_remove_package(plan);
    else
        add_remove(plan, std::move(folder));
}

void remove_old_autostart_entries(const NVFileProbe& fs, NVRemovalPlan& plan)
{
    for (const char* id : nv_old_autostart_ids()) {
        std::string path = nv_system_autostart_entry(id);
        if (fs.exists(path))
            add_remove(plan, std::move(path));
    }
}

} // namespace

bool NVFsProbe::exists(const std::string& path) const
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool NVFsProbe::isDirectory(const std::string& path) const
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> NVFsProbe::readText(const std::string& path) const
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string nv_package_file_list()
{
    return "/var/lib/dpkg/info/" + std::string(nv_suite_package_name()) + ".list";
}

bool nv_installed_by_package(const NVFileProbe& fs, const std::string& path)
{
    const std::optional<std::string> list = fs.readText(nv_package_file_list());
    if (!list)
        return false;
    std::istringstream lines(*list);
    for (std::string line; std::getline(lines, line);)
        if (line == path)
            return true;
    return false;
}

NVRemovalPlan KillOldVersionProcessAndStuffs(const NVFileProbe& fs)
{
    NVRemovalPlan plan;
    add_kill(plan, "NuvroTabletConsole");
    add_kill(plan, "NuvroTabletInfo");
    add_kill(plan, "NuvroAgent");
    remove_old_autostart_entries(fs, plan);
    return plan;
}

NVRemovalPlan KillProcessAndUninstallApplications(const NVFileProbe& fs)
{
    NVRemovalPlan plan;
    add_kill(plan, "NuvroTabletConsole");
    for (const char* name : nv_brand_folder_names()) {
        std::string folder = nv_system_app_folder(name);
        if (!fs.exists(folder))
            continue;
        nv_log("%s/", folder.c_str());
        add_kill(plan, name);
        remove_folder(fs, plan, std::move(folder));
        break;
    }
    add_kill(plan, "NuvroTabletInfo");
    add_kill(plan, "NuvroAgent");
    add_kill(plan, "NuvroHelper");
    remove_old_autostart_entries(fs, plan);
    for (const std::string& file : nv_suite_system_files())
        if (fs.exists(file) && !nv_installed_by_package(fs, file))
            add_remove(plan, file);
    return plan;
}

NVRemovalPlan UninstallStuffForApp(const NVFileProbe& fs, const NVRemovalContext& ctx)
{
    NVRemovalPlan plan;
    if (fs.isDirectory(ctx.userAutostartDir)) {
        for (const char* id : {"nuvroapp.NuvroAgent", "nuvroapp.nuvrotablet"}) {
            std::string entry = ctx.userAutostartDir + "/" + id + ".desktop";
            if (fs.exists(entry))
                plan.userPaths.push_back(std::move(entry));
        }
    }
    std::string folder;
    if (!ctx.bundlePath.empty() && fs.exists(ctx.bundlePath))
        folder = ctx.bundlePath;
    else if (!ctx.tabletDriverPath.empty() && fs.exists(ctx.tabletDriverPath))
        folder = ctx.tabletDriverPath;
    if (folder.empty())
        return plan;
    if (nv_is_privileged_path(folder))
        remove_folder(fs, plan, std::move(folder));
    else
        nv_log("UninstallStuffForApp: %s is not a folder of the suite, left in place", folder.c_str());
    return plan;
}

NVRemovalPlan UninstallUserConfig(const NVFileProbe& fs, const NVRemovalContext& ctx)
{
    NVRemovalPlan plan;
    if (!ctx.userDataDir.empty() && fs.isDirectory(ctx.userDataDir))
        plan.userPaths.push_back(ctx.userDataDir);
    return plan;
}

NVRemovalPlan nv_uninstall_plan(const NVFileProbe& fs, const NVRemovalContext& ctx)
{
    NVRemovalPlan all;
    for (const NVRemovalPlan& step :
         {KillProcessAndUninstallApplications(fs), UninstallStuffForApp(fs, ctx), UninstallUserConfig(fs, ctx)}) {
        for (const NVPrivilegedOp& op : step.privileged)
            if (std::ranges::find(all.privileged, op) == all.privileged.end())
                all.privileged.push_back(op);
        for (const std::string& path : step.userPaths)
            if (std::ranges::find(all.userPaths, path) == all.userPaths.end())
                all.userPaths.push_back(path);
    }
    return all;
}
