#include "settings/logic/NVPrivilegedOps.h"

#include <gtest/gtest.h>

namespace {

TEST(PrivilegedOps, FixedTargetsAreTheSuitesFoldersAndOlderAutostartEntries)
{
    EXPECT_EQ(nv_privileged_paths(),
              (std::vector<std::string>{"/opt/NuvroTablet", "/opt/KeltaTablet", "/opt/LumaTablet", "/opt/StylusTablet",
                                        "/etc/xdg/autostart/nuvroapp.NuvroTabletConsole.agent.desktop",
                                        "/etc/xdg/autostart/nuvroapp.NuvroTabletInfo.agent.desktop"}));
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
                                          {NVPrivilegedKind::Remove, "/opt/NuvroTablet"}};
    const std::vector<std::string> args = nv_privileged_args(ops);
    EXPECT_EQ(args, (std::vector<std::string>{"kill", "NuvroAgent", "remove", "/opt/NuvroTablet"}));
    EXPECT_EQ(nv_privileged_command("/opt/NuvroTablet/bin/nuvro-remove", ops),
              (std::vector<std::string>{"/usr/bin/pkexec", "/opt/NuvroTablet/bin/nuvro-remove", "kill", "NuvroAgent",
                                        "remove", "/opt/NuvroTablet"}));
    std::vector<NVPrivilegedOp> parsed;
    ASSERT_TRUE(nv_parse_privileged_args(args, parsed, nullptr));
    EXPECT_EQ(parsed, ops);

    std::string bad;
    std::vector<NVPrivilegedOp> none;
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"kill", "A", "remove"}, none, &bad));
    EXPECT_EQ(bad, "remove");
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"rm", "-rf"}, none, &bad));
    EXPECT_EQ(bad, "rm");
    EXPECT_FALSE(nv_parse_privileged_args(std::vector<std::string>{"KILL", "NuvroAgent"}, none, &bad));
}

} // namespace
