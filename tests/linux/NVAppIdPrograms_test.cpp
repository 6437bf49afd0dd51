#include "platform/linux/NVAppIdPrograms.h"

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

TEST(AppIdPrograms, TheEntryOfTheIdNamesItsExecProgramMissingOnesAreLoggedOnce)
{
    nvtest::TempDir user, system, bin;
    const fs::path tool = bin.path() / "nuvro-paint";
    nvtest::write_file(tool, "#!/bin/sh\n");
    ::chmod(tool.c_str(), 0755);
    auto entry = [](const std::string& exec, const std::string& extra = "") {
        return "[Desktop Entry]\nType=Application\nName=X\nExec=" + exec + "\n" + extra;
    };
    nvtest::write_file(system.path() / "org.example.Paint.desktop", entry("nuvro-paint --new-window %U"));
    nvtest::write_file(system.path() / "sketch.desktop", entry(tool.string()));
    // The user's entry of an id replaces the system's, a hidden one deletes it.
    nvtest::write_file(system.path() / "gone.desktop", entry(tool.string()));
    nvtest::write_file(user.path() / "gone.desktop", entry(tool.string(), "Hidden=true\n"));
    nvtest::write_file(system.path() / "link.desktop", "[Desktop Entry]\nType=Link\nURL=http://x\n");

    NVExecEnv env;
    env.path = bin.path().string();
    NVAppIdPrograms programs({user.path(), system.path()}, env);
    NVLogCapture log;
    EXPECT_EQ(programs.program("org.example.Paint"), tool.string()) << "looked up in PATH";
    EXPECT_EQ(programs.program("Sketch"), tool.string()) << "an id in capitals, its entry in lower case";
    EXPECT_EQ(programs.program("gone"), "");
    EXPECT_EQ(programs.program("link"), "");
    EXPECT_EQ(programs.program("../system/sketch"), "") << "no path through an id";
    EXPECT_EQ(programs.program(""), "");
    EXPECT_EQ(programs.program("gone"), "");
    EXPECT_EQ(log.count("app_id \"gone\": no desktop entry names its program"), 1u);
    EXPECT_EQ(log.lines().size(), 3u) << "gone, link, the path";


    // An application installed while the agent runs is found on its next activation.
    EXPECT_EQ(programs.program("later"), "");
    nvtest::write_file(user.path() / "later.desktop", entry(tool.string()));
    EXPECT_EQ(programs.program("later"), tool.string());
}

} // namespace
