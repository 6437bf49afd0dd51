// The clean-up of older driver versions and the uninstall, computed as plans: what the
// privileged program is to do, and the user's own files the application removes itself.
// Nothing is run here; the file system is only looked at through a probe.
#pragma once

#include "settings/logic/NVPrivilegedOps.h"

#include <optional>
#include <string>
#include <vector>

class NVFileProbe {
public:
    virtual ~NVFileProbe() = default;
    virtual bool exists(const std::string& path) const = 0;
    virtual bool isDirectory(const std::string& path) const = 0;
    // The whole text of a file; none when it cannot be read.
    virtual std::optional<std::string> readText(const std::string& path) const = 0;
};

// The real file system; a symbolic link counts as present even when it dangles.
class NVFsProbe final : public NVFileProbe {
public:
    bool exists(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    std::optional<std::string> readText(const std::string& path) const override;
};

// The package manager's list of the files of the suite's package.
std::string nv_package_file_list();
// The suite's package is installed and owns path: then it is removed through the package
// manager, never file by file behind its back.
bool nv_installed_by_package(const NVFileProbe& fs, const std::string& path);

struct NVRemovalContext {
    std::string userAutostartDir; // the user's autostart folder
    std::string userDataDir;      // the user's data folder (configuration, tabletSettings.plist)
    std::string bundlePath;       // where this application runs from
    std::string tabletDriverPath; // as recorded in tabletSettings.plist; may be anything
};

struct NVRemovalPlan {
    std::vector<NVPrivilegedOp> privileged;
    std::vector<std::string> userPaths; // removed without privileges, recursively
    bool operator==(const NVRemovalPlan&) const = default;
};

// Ends the older driver's processes and removes its system autostart entries.
NVRemovalPlan KillOldVersionProcessAndStuffs(const NVFileProbe& fs);
// Ends the suite's processes and removes the first brand folder that exists (only that
// one), or the suite's package when that folder is the package's, the older system autostart
// entries, and the suite's own desktop files that no package owns.
NVRemovalPlan KillProcessAndUninstallApplications(const NVFileProbe& fs);
// Removes the user's autostart entries of the agent and the settings application, and the
// suite's folder: this application's own, or else the one recorded in the user's plist.
// Either is removed only when it is one of the suite's fixed folders, since the plist is
// the user's to write, and through the package manager when the package owns it.
NVRemovalPlan UninstallStuffForApp(const NVFileProbe& fs, const NVRemovalContext& ctx);
// Removes the user's data folder.
NVRemovalPlan UninstallUserConfig(const NVFileProbe& fs, const NVRemovalContext& ctx);
// The three uninstall steps in order, each operation once.
NVRemovalPlan nv_uninstall_plan(const NVFileProbe& fs, const NVRemovalContext& ctx);
