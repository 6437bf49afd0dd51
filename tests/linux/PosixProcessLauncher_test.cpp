#include "platform/linux/PosixProcessLauncher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

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

TEST(PosixProcessLauncher, TheProgramKeepsNoneOfItsStartersOutput)
{
    // The starter's output is a pipe; a program that keeps it open would hold its reader.
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const int saved = dup(STDOUT_FILENO);
    ASSERT_GE(saved, 0);
    dup2(out[1], STDOUT_FILENO);
    close(out[1]);
    nvtest::TempDir dir;
    const auto done = dir.path() / "done";
    PosixProcessLauncher launcher;
    const bool started = launcher.spawnDetached({"sh", "-c", "echo leaked; touch \"$0\"", done.string()});
    dup2(saved, STDOUT_FILENO);
    close(saved);
    ASSERT_TRUE(started);
    for (int i = 0; i < 200 && !std::filesystem::exists(done); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists(done));
    // The write end is closed here and in the program: the reader sees the end at once.
    char buffer[16];
    EXPECT_EQ(read(out[0], buffer, sizeof buffer), 0);
    close(out[0]);
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
