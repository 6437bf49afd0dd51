// The operations the settings application hands to its privileged program, the fixed
// processes and paths they may name, and their argument-vector form:
// "kill NAME", "remove PATH" and "remove-package NAME", one after another.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class NVPrivilegedKind {
    Kill,          // end every process of a command name
    Remove,        // remove a file or a folder with its contents
    RemovePackage, // remove an installed package through the package manager
};

struct NVPrivilegedOp {
    NVPrivilegedKind kind;
    std::string target;
    bool operator==(const NVPrivilegedOp&) const = default;
};

// Folders of the suite's brands under /opt, in the order they are tried.
std::span<const char* const> nv_brand_folder_names();
// "/opt/<name>": where an application folder of the suite is installed.
std::string nv_system_app_folder(std::string_view name);
// "/etc/xdg/autostart/<id>.desktop": a system-wide autostart entry.
std::string nv_system_autostart_entry(std::string_view id);
// Autostart entries of the older driver versions.
std::span<const char* const> nv_old_autostart_ids();
// What an installation of the suite lays out beside its folder for the desktop: the menu
// entry, icons, the agent's system autostart entry, the udev rule, the polkit policy, the
// uinput module-load file, the GNOME Shell extension and the package's documents.
const std::vector<std::string>& nv_suite_system_files();

// The only process names and paths the privileged program acts on.
std::span<const char* const> nv_privileged_process_names();
const std::vector<std::string>& nv_privileged_paths();
bool nv_is_privileged_process(std::string_view name);
bool nv_is_privileged_path(std::string_view path);
// The suite's own Debian package, the only one the privileged program removes.
const char* nv_suite_package_name();
bool nv_is_privileged_package(std::string_view name);

std::vector<std::string> nv_privileged_args(std::span<const NVPrivilegedOp> ops);
// The whole command: pkexec, the privileged program (an absolute path), the operations.
std::vector<std::string> nv_privileged_command(const std::string& program, std::span<const NVPrivilegedOp> ops);
// Reads the operations of args. False, with the offending word in *bad, when a word is
// not an operation or an operation has no operand.
bool nv_parse_privileged_args(std::span<const std::string> args, std::vector<NVPrivilegedOp>& ops,
                              std::string* bad);
