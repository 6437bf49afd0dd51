#include "settings/logic/NVPrivilegedOps.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const char* kBrandFolders[] = {"NuvroTablet", "KeltaTablet", "LumaTablet", "StylusTablet"};
constexpr const char* kOldAutostartIds[] = {"nuvroapp.NuvroTabletConsole.agent", "nuvroapp.NuvroTabletInfo.agent"};
constexpr const char* kProcessNames[] = {"NuvroTabletConsole", "NuvroTabletInfo", "NuvroAgent", "NuvroHelper",
                                         "NuvroTablet", "KeltaTablet", "LumaTablet", "StylusTablet"};

constexpr const char* kPackage = "nuvrotablet";

constexpr std::string_view kKill = "kill";
constexpr std::string_view kRemove = "remove";
constexpr std::string_view kRemovePackage = "remove-package";

std::string_view word_of(NVPrivilegedKind kind)
{
    switch (kind) {
    case NVPrivilegedKind::Kill:
        return kKill;
    case NVPrivilegedKind::Remove:
        return kRemove;
    case NVPrivilegedKind::RemovePackage:
        return kRemovePackage;
    }
    return kRemove;
}

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

const std::vector<std::string>& nv_suite_system_files()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> f = {
            nv_system_autostart_entry("nuvroapp.NuvroAgent"),
            "/usr/share/applications/nuvroapp.nuvrotablet.desktop",
            "/usr/lib/udev/rules.d/70-nuvro-tablet.rules",
            "/usr/share/polkit-1/actions/nuvroapp.nuvrotablet.remove.policy",
            "/usr/lib/modules-load.d/nuvrotablet.conf",
            "/usr/share/icons/hicolor/scalable/apps/nuvroapp.nuvrotablet.svg",
            "/usr/share/doc/nuvrotablet/copyright",
            "/usr/share/doc/nuvrotablet/changelog.gz",
            "/usr/share/lintian/overrides/nuvrotablet",
            "/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/metadata.json",
            "/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/extension.js",
            "/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/__init__.js",
            "/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com/nuvroapp.FocusedWindow.xml",
            // Its folder once empty: the shell would complain of a folder without metadata.
            "/usr/share/gnome-shell/extensions/nuvro-focus@nuvro.example.com",
        };
        for (int px : {16, 22, 24, 32, 48, 64, 128, 256, 512})
            f.push_back("/usr/share/icons/hicolor/" + std::to_string(px) + "x" + std::to_string(px) +
                        "/apps/nuvroapp.nuvrotablet.png");
        return f;
    }();
    return files;
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
        p.insert(p.end(), nv_suite_system_files().begin(), nv_suite_system_files().end());
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

const char* nv_suite_package_name()
{
    return kPackage;
}

bool nv_is_privileged_package(std::string_view name)
{
    return name == kPackage;
}

std::vector<std::string> nv_privileged_args(std::span<const NVPrivilegedOp> ops)
{
    std::vector<std::string> args;
    for (const NVPrivilegedOp& op : ops) {
        args.emplace_back(word_of(op.kind));
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
        const auto kind = args[i] == kKill             ? std::optional(NVPrivilegedKind::Kill)
                          : args[i] == kRemove         ? std::optional(NVPrivilegedKind::Remove)
                          : args[i] == kRemovePackage  ? std::optional(NVPrivilegedKind::RemovePackage)
                                                       : std::nullopt;
        if (!kind || i + 1 == args.size()) {
            if (bad)
                *bad = args[i];
            return false;
        }
        ops.push_back({*kind, args[i + 1]});
    }
    return true;
}
