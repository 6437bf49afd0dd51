#include "settings/logic/NVPrivilegedOps.h"

#include <algorithm>

namespace {

constexpr const char* kBrandFolders[] = {"NuvroTablet", "KeltaTablet", "LumaTablet", "StylusTablet"};
constexpr const char* kOldAutostartIds[] = {"nuvroapp.NuvroTabletConsole.agent", "nuvroapp.NuvroTabletInfo.agent"};
constexpr const char* kProcessNames[] = {"NuvroTabletConsole", "NuvroTabletInfo", "NuvroAgent", "NuvroHelper",
                                         "NuvroTablet", "KeltaTablet", "LumaTablet", "StylusTablet"};

constexpr std::string_view kKill = "kill";
constexpr std::string_view kRemove = "remove";

} // namespace

std::span<const char* const> nv_brand_folder_names()
{
    return kBrandFolders;
}

std::string nv_system_app_folder(std::string_view name)
{
    return "/opt/" + std::string(name);
}

std::string nv_system_autostart_entry(std::string_view id)
{
    return "/etc/xdg/autostart/" + std::string(id) + ".desktop";
}

std::span<const char* const> nv_old_autostart_ids()
{
    return kOldAutostartIds;
}

std::span<const char* const> nv_privileged_process_names()
{
    return kProcessNames;
}

const std::vector<std::string>& nv_privileged_paths()
{
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> p;
        for (const char* name : kBrandFolders)
            p.push_back(nv_system_app_folder(name));
        for (const char* id : kOldAutostartIds)
            p.push_back(nv_system_autostart_entry(id));
        return p;
    }();
    return paths;
}

bool nv_is_privileged_process(std::string_view name)
{
    return std::ranges::find(kProcessNames, name) != std::end(kProcessNames);
}

bool nv_is_privileged_path(std::string_view path)
{
    return std::ranges::find(nv_privileged_paths(), path) != nv_privileged_paths().end();
}

std::vector<std::string> nv_privileged_args(std::span<const NVPrivilegedOp> ops)
{
    std::vector<std::string> args;
    for (const NVPrivilegedOp& op : ops) {
        args.emplace_back(op.kind == NVPrivilegedKind::Kill ? kKill : kRemove);
        args.push_back(op.target);
    }
    return args;
}

std::vector<std::string> nv_privileged_command(const std::string& program, std::span<const NVPrivilegedOp> ops)
{
    std::vector<std::string> argv{"/usr/bin/pkexec", program};
    for (std::string& arg : nv_privileged_args(ops))
        argv.push_back(std::move(arg));
    return argv;
}

bool nv_parse_privileged_args(std::span<const std::string> args, std::vector<NVPrivilegedOp>& ops,
                              std::string* bad)
{
    for (size_t i = 0; i < args.size(); i += 2) {
        const bool kill = args[i] == kKill;
        if ((!kill && args[i] != kRemove) || i + 1 == args.size()) {
            if (bad)
                *bad = args[i];
            return false;
        }
        ops.push_back({kill ? NVPrivilegedKind::Kill : NVPrivilegedKind::Remove, args[i + 1]});
    }
    return true;
}
