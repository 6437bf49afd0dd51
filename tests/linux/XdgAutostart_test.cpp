#include "platform/linux/XdgAutostart.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(XdgAutostart, EntriesLiveUnderTheConfigHome)
{
    nvtest::ScopedConfigHome home;
    EXPECT_EQ(nv_autostart_path("nuvroapp.NuvroAgent"),
              home.path().string() + "/autostart/nuvroapp.NuvroAgent.desktop");
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/artist", 1);
    EXPECT_EQ(nv_autostart_dir(), "/home/artist/.config/autostart");
}

TEST(XdgAutostart, ProgramPathsSurviveQuotingWhateverTheyHold)
{
    nvtest::ScopedConfigHome home;
    const std::string path = nv_autostart_path("nuvroapp.NuvroAgent");
    for (const std::string program : {"/opt/NuvroTablet/bin/NuvroAgent", "/home/a b/My App/NuvroAgent",
                                      "/tmp/$(touch x);`id`/\"q\"/back\\slash/100%d/NuvroAgent"}) {
        ASSERT_TRUE(nv_autostart_write(path, "NuvroAgent", {program, "-runMode", "autoLaunched"}));
        auto read = nv_autostart_program(path);
        ASSERT_TRUE(read.has_value()) << program;
        EXPECT_EQ(*read, program);
    }
    const std::string text = nvtest::read_file(path);
    EXPECT_NE(text.find("Exec="), std::string::npos);
    EXPECT_NE(text.find(" -runMode autoLaunched\n"), std::string::npos);

    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
        const std::string cmd = "desktop-file-validate '" + path + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << text;
    }
}

TEST(XdgAutostart, FoldersAndBrokenEntriesHaveNoProgram)
{
    nvtest::ScopedConfigHome home;
    const std::string path = nv_autostart_path("x");
    EXPECT_FALSE(nv_autostart_program(path).has_value()) << "missing";
    std::filesystem::create_directories(path);
    EXPECT_FALSE(nv_autostart_program(path).has_value()) << "a folder of that name";
    std::filesystem::remove(path);
    nvtest::write_file(path, "[Desktop Entry]\nExec=\"/unterminated\n");
    EXPECT_FALSE(nv_autostart_program(path).has_value());
    nvtest::write_file(path, "[Other]\nExec=/bin/true\n");
    EXPECT_FALSE(nv_autostart_program(path).has_value());
}
