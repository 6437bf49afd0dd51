#include "settings/logic/NVPrivilegedOps.h"

#include <gtest/gtest.h>

namespace {

TEST(PrivilegedOps, FixedTargetsAreTheSuitesFoldersOlderAutostartEntriesAndDesktopFiles)
{
    std::vector<std::string> expected{"/opt/NuvroTablet", "/opt/KeltaTablet", "/opt/LumaTablet", "/opt/StylusTablet",
                                      "/etc/xdg/autostart/nuvroapp.NuvroTabletConsole.agent.desktop",
                                      "/etc/xdg/autostart/nuvroapp.NuvroTabletInfo.agent.desktop"};
    expected.insert(expected.end(), nv_suite_system_files().begin(), nv_suite_system_files().end());
    EXPECT_EQ(nv_privileged_paths(), expected);
    for (const std::string& file : nv_suite_system_files()) {
        EXPECT_TRUE(file.starts_with("/usr/") || file.starts_with("/etc/xdg/autostart/")) << file;
        EXPECT_EQ(file.find(".."), std::string::npos) << file;
    }
    EXPECT_TRUE(nv_is_privileged_package("nuvrotablet"));
    for (const char* package : {"nuvrotablet ", "libc6", "", "nuvrotablet:amd64"})
        EXPECT_FALSE(nv_is_privileged_package(package)) << package;
    for (const char* path : {"/opt", "/opt/", "/opt/NuvroTablet/", "/opt//NuvroTablet", "/opt/NuvroTablet/..",
                             "/opt/NuvroTablet/../../etc", "opt/NuvroTablet", "/etc/xdg/autostart", ""})
        EXPECT_FALSE(nv_is_privileged_path(path)) << path;
    EXPECT_TRUE(nv_is_privileged_process("NuvroTabletConsole"));
    EXPECT_TRUE(nv_is_privileged_process("StylusTablet"));
    EXPECT_FALSE(nv_is_privileged_process("NuvroTabletCons"));
    EXPECT_FALSE(nv_is_privileged_process("systemd"));
}

TEST(PrivilegedOps, ArgumentVectorRoundTripsAndMalformedOnesAreNamed)
{
    const std::vector<NVPrivilegedOp> ops{{NVPrivilegedKind::Kill, "NuvroAgent"},
                                          {NVPrivilegedKind::Remove, "/opt/NuvroTablet"},
                                          {NVPrivilegedKind::RemovePackage, "nuvrotablet"}};
    const std::vector<std::string> args = nv_privileged_args(ops);
    EXPECT_EQ(args, (std::vector<std::string>{"kill", "NuvroAgent", "remove", "/opt/NuvroTablet", "remove-package",
                                              "nuvrotablet"}));
    EXPECT_EQ(nv_privileged_command("/opt/NuvroTablet/bin/nuvro-remove", ops),
              (std::vector<std::string>{"/usr/bin/pkexec", "/opt/NuvroTablet/bin/nuvro-remove", "kill", "NuvroAgent",
                                        "remove", "/opt/NuvroTablet", "remove-package", "nuvrotablet"}));
    std::vector<NVPrivilegedOp> parsed;
    ASSERT_TRUE(nv_parse_privileged_args(args, parsed, nullptr));
    EXPECT_EQ(parsed, ops);

    std::string bad;
    std::vector<NVPrivilegedOp> none;
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"kill", "A", "remove"}, none, &bad));
    EXPECT_EQ(bad, "remove");
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"rm", "-rf"}, none, &bad));
    EXPECT_EQ(bad, "rm");
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"remove-package"}, none, &bad));
    EXPECT_EQ(bad, "remove-package");
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"KILL", "NuvroAgent"}, none, &bad));
}

} // namespace
