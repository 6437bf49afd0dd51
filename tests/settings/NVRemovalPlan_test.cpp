#include "settings/logic/NVRemovalPlan.h"

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <map>
#include <set>

namespace {

class FakeFiles final : public NVFileProbe {
public:
    std::set<std::string> files;
    std::set<std::string> dirs;
    std::map<std::string, std::string> texts;
    bool exists(const std::string& p) const override { return files.contains(p) || dirs.contains(p) || texts.contains(p); }
    bool isDirectory(const std::string& p) const override { return dirs.contains(p); }
    std::optional<std::string> readText(const std::string& p) const override
    {
        const auto it = texts.find(p);
        return it == texts.end() ? std::nullopt : std::optional(it->second);
    }
};

NVPrivilegedOp kill(const char* name)
{
    return {NVPrivilegedKind::Kill, name};
}

NVPrivilegedOp remove(const std::string& path)
{
    return {NVPrivilegedKind::Remove, path};
}

const NVPrivilegedOp kRemovePackage{NVPrivilegedKind::RemovePackage, "nuvrotablet"};

const char* const kConsoleEntry = "/etc/xdg/autostart/nuvroapp.NuvroTabletConsole.agent.desktop";
const char* const kInfoEntry = "/etc/xdg/autostart/nuvroapp.NuvroTabletInfo.agent.desktop";

TEST(RemovalPlan, OldVersionEndsItsProcessesAndRemovesOnlyEntriesThatExist)
{
    FakeFiles fs;
    EXPECT_EQ(KillOldVersionProcessAndStuffs(fs).privileged,
              (std::vector{kill("NuvroTabletConsole"), kill("NuvroTabletInfo"), kill("NuvroAgent")}));
    fs.files = {kInfoEntry};
    const NVRemovalPlan plan = KillOldVersionProcessAndStuffs(fs);
    EXPECT_EQ(plan.privileged,
              (std::vector{kill("NuvroTabletConsole"), kill("NuvroTabletInfo"), kill("NuvroAgent"), remove(kInfoEntry)}));
    EXPECT_TRUE(plan.userPaths.empty());
}

TEST(RemovalPlan, ApplicationsRemoveOnlyTheFirstBrandFolderThatExists)
{
    FakeFiles fs;
    fs.dirs = {"/opt/KeltaTablet", "/opt/LumaTablet", "/opt/StylusTablet"};
    fs.files = {kConsoleEntry, kInfoEntry};
    NVLogCapture log;
    EXPECT_EQ(KillProcessAndUninstallApplications(fs).privileged,
              (std::vector{kill("NuvroTabletConsole"), kill("KeltaTablet"), remove("/opt/KeltaTablet"),
                           kill("NuvroTabletInfo"), kill("NuvroAgent"), kill("NuvroHelper"), remove(kConsoleEntry),
                           remove(kInfoEntry)}));
    EXPECT_TRUE(log.contains("/opt/KeltaTablet/"));

    fs.dirs.insert("/opt/NuvroTablet");
    const NVRemovalPlan nuvro = KillProcessAndUninstallApplications(fs);
    EXPECT_EQ(nuvro.privileged[1], kill("NuvroTablet"));
    EXPECT_EQ(nuvro.privileged[2], remove("/opt/NuvroTablet"));
    EXPECT_EQ(std::ranges::count(nuvro.privileged, NVPrivilegedKind::Remove, &NVPrivilegedOp::kind), 3);

    fs.dirs.clear();
    fs.files.clear();
    EXPECT_EQ(KillProcessAndUninstallApplications(fs).privileged,
              (std::vector{kill("NuvroTabletConsole"), kill("NuvroTabletInfo"), kill("NuvroAgent"),
                           kill("NuvroHelper")}));
}

TEST(RemovalPlan, UserAutostartEntriesAreRemovedWithoutPrivileges)
{
    FakeFiles fs;
    NVRemovalContext ctx{"/home/u/.config/autostart", "", "", ""};
    fs.files = {"/home/u/.config/autostart/nuvroapp.NuvroAgent.desktop",
                "/home/u/.config/autostart/nuvroapp.nuvrotablet.desktop"};
    EXPECT_TRUE(UninstallStuffForApp(fs, ctx).userPaths.empty()); // the folder itself is missing

    fs.dirs = {"/home/u/.config/autostart"};
    const NVRemovalPlan plan = UninstallStuffForApp(fs, ctx);
    EXPECT_EQ(plan.userPaths, (std::vector<std::string>{"/home/u/.config/autostart/nuvroapp.NuvroAgent.desktop",
                                                        "/home/u/.config/autostart/nuvroapp.nuvrotablet.desktop"}));
    EXPECT_TRUE(plan.privileged.empty());
}

TEST(RemovalPlan, TheSuitesFolderComesFromTheBundleElseThePlistAndMustBeAFixedOne)
{
    FakeFiles fs;
    fs.dirs = {"/opt/NuvroTablet", "/opt/LumaTablet", "/home/u/build", "/home/u", "/"};
    auto folder = [&](const char* bundle, const char* recorded) {
        return UninstallStuffForApp(fs, {"", "", bundle, recorded}).privileged;
    };
    EXPECT_EQ(folder("/opt/NuvroTablet", "/opt/LumaTablet"), std::vector{remove("/opt/NuvroTablet")});
    EXPECT_EQ(folder("/opt/KeltaTablet", "/opt/LumaTablet"), std::vector{remove("/opt/LumaTablet")});
    EXPECT_EQ(folder("", "/opt/LumaTablet"), std::vector{remove("/opt/LumaTablet")});
    EXPECT_TRUE(folder("/opt/KeltaTablet", "/opt/StylusTablet").empty()); // neither exists

    // The plist is the user's to write: nothing outside the fixed folders is removed.
    NVLogCapture log;
    EXPECT_TRUE(folder("", "/home/u").empty());
    EXPECT_TRUE(folder("", "/").empty());
    fs.dirs.insert("/opt/NuvroTablet/../../home/u");
    EXPECT_TRUE(folder("", "/opt/NuvroTablet/../../home/u").empty());
    EXPECT_TRUE(log.contains("/home/u is not a folder of the suite"));
    // Nor is a build tree the application runs from.
    EXPECT_TRUE(folder("/home/u/build", "/opt/NuvroTablet").empty());
}

TEST(RemovalPlan, UserConfigIsRemovedOnlyAsAFolder)
{
    FakeFiles fs;
    const NVRemovalContext ctx{"", "/home/u/.config/NuvroTablet", "", ""};
    EXPECT_TRUE(UninstallUserConfig(fs, ctx).userPaths.empty());
    fs.files = {ctx.userDataDir};
    EXPECT_TRUE(UninstallUserConfig(fs, ctx).userPaths.empty());
    fs.dirs = {ctx.userDataDir};
    EXPECT_EQ(UninstallUserConfig(fs, ctx).userPaths, std::vector<std::string>{ctx.userDataDir});
}

TEST(RemovalPlan, UninstallRunsTheThreeStepsInOrderWithEachOperationOnce)
{
    FakeFiles fs;
    fs.dirs = {"/opt/NuvroTablet", "/a", "/d"};
    fs.files = {"/a/nuvroapp.nuvrotablet.desktop", kConsoleEntry};
    const NVRemovalPlan plan = nv_uninstall_plan(fs, {"/a", "/d", "/opt/NuvroTablet", "/opt/NuvroTablet"});
    EXPECT_EQ(plan.privileged,
              (std::vector{kill("NuvroTabletConsole"), kill("NuvroTablet"), remove("/opt/NuvroTablet"),
                           kill("NuvroTabletInfo"), kill("NuvroAgent"), kill("NuvroHelper"), remove(kConsoleEntry)}));
    EXPECT_EQ(plan.userPaths, (std::vector<std::string>{"/a/nuvroapp.nuvrotablet.desktop", "/d"}));
}

TEST(RemovalPlan, APackagedSuiteIsRemovedThroughThePackageManagerOnly)
{
    FakeFiles fs;
    fs.dirs = {"/opt/NuvroTablet", "/a", "/d"};
    fs.files = {"/usr/share/applications/nuvroapp.nuvrotablet.desktop", "/etc/xdg/autostart/nuvroapp.NuvroAgent.desktop"};
    // The package manager lists folders and files, one per line.
    fs.texts[nv_package_file_list()] = "/.\n/opt\n/opt/NuvroTablet\n/opt/NuvroTablet/bin\n"
                                       "/usr/share/applications/nuvroapp.nuvrotablet.desktop\n"
                                       "/etc/xdg/autostart/nuvroapp.NuvroAgent.desktop\n";
    const NVRemovalPlan plan = nv_uninstall_plan(fs, {"/a", "/d", "/opt/NuvroTablet", "/opt/NuvroTablet"});
    EXPECT_EQ(plan.privileged, (std::vector{kill("NuvroTabletConsole"), kill("NuvroTablet"), kRemovePackage,
                                            kill("NuvroTabletInfo"), kill("NuvroAgent"), kill("NuvroHelper")}));
    EXPECT_EQ(plan.userPaths, (std::vector<std::string>{"/d"}));
}

TEST(RemovalPlan, WithoutThePackageTheDesktopFilesThatExistGoWithTheFolder)
{
    FakeFiles fs;
    fs.dirs = {"/opt/NuvroTablet"};
    const std::string menuEntry = "/usr/share/applications/nuvroapp.nuvrotablet.desktop";
    const std::string rule = "/usr/lib/udev/rules.d/70-nuvro-tablet.rules";
    fs.files = {menuEntry, rule};
    // A package list that names a longer folder and the files under another root owns nothing here.
    fs.texts[nv_package_file_list()] = "/opt/NuvroTabletOld\n/opt/NuvroTablet/\n/x" + menuEntry + "\n";
    EXPECT_EQ(KillProcessAndUninstallApplications(fs).privileged,
              (std::vector{kill("NuvroTabletConsole"), kill("NuvroTablet"), remove("/opt/NuvroTablet"),
                           kill("NuvroTabletInfo"), kill("NuvroAgent"), kill("NuvroHelper"), remove(menuEntry),
                           remove(rule)}));
}

TEST(RemovalPlan, RealProbeSeesDanglingLinksAndTellsFoldersFromFiles)
{
    nvtest::TempDir dir;
    const std::filesystem::path link = dir.path() / "link";
    std::filesystem::create_symlink(dir.path() / "nowhere", link);
    nvtest::write_file(dir.path() / "file", "x");
    const NVFsProbe fs;
    EXPECT_TRUE(fs.exists(link.string()));
    EXPECT_FALSE(fs.isDirectory(link.string()));
    EXPECT_TRUE(fs.exists((dir.path() / "file").string()));
    EXPECT_FALSE(fs.isDirectory((dir.path() / "file").string()));
    EXPECT_TRUE(fs.isDirectory(dir.path().string()));
    EXPECT_FALSE(fs.exists((dir.path() / "none").string()));
    EXPECT_EQ(fs.readText((dir.path() / "file").string()), "x");
    EXPECT_EQ(fs.readText((dir.path() / "none").string()), std::nullopt);
}

} // namespace
