#include "platform/linux/PosixProcessLauncher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(PosixProcessLauncher, ArgumentsReachTheProgramUninterpreted)
{
    nvtest::TempDir dir;
    const auto target = dir.path() / "a b; $(touch pwned) \"q\"";
    PosixProcessLauncher launcher;
    ASSERT_TRUE(launcher.spawnDetached({"touch", target.string()}));
    for (int i = 0; i < 200 && !std::filesystem::exists(target); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "pwned"));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST(PosixProcessLauncher, MissingProgramFailsWithALogLine)
{
    NVLogCapture log;
    PosixProcessLauncher launcher;
    EXPECT_FALSE(launcher.spawnDetached({"/nonexistent/program"}));
    EXPECT_TRUE(log.contains("spawn: cannot run /nonexistent/program"));
    EXPECT_FALSE(launcher.spawnDetached({}));
}

} // namespace
