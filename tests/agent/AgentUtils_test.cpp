// The start-at-login entry: written, left alone while current, rewritten when stale.
#include "agent/AgentUtils.h"

#include "core/log/NVLog.h"
#include "platform/linux/XdgAutostart.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool desktop_file_valid(const std::string& path)
{
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        return true;
    return std::system(("desktop-file-validate '" + path + "'").c_str()) == 0;
}

} // namespace

TEST(AgentUtils, FirstStartCreatesTheFolderAndAValidEntryForThisExecutable)
{
    nvtest::ScopedConfigHome home;
    ASSERT_FALSE(fs::exists(home.path() / "autostart"));
    EXPECT_FALSE(AgentUtils::isDaemon());

    AgentUtils::installDaemon();
    const std::string path = (home.path() / "autostart" / "nuvroapp.NuvroAgent.desktop").string();
    EXPECT_EQ(AgentUtils::daemonPath(), path);
    ASSERT_TRUE(fs::is_regular_file(path));
    EXPECT_TRUE(AgentUtils::isDaemon());
    EXPECT_EQ(nv_autostart_program(path).value_or(""), AgentUtils::executablePath());
    const std::string text = nvtest::read_file(path);
    EXPECT_NE(text.find(" -runMode autoLaunched\n"), std::string::npos) << text;
    EXPECT_TRUE(desktop_file_valid(path)) << text;
}

TEST(AgentUtils, CurrentEntryIsLeftAloneAndStaleOneRewritten)
{
    nvtest::ScopedConfigHome home;
    AgentUtils::installDaemon();
    const std::string path = AgentUtils::daemonPath();
    // A current entry the user touched keeps every byte.
    const std::string edited = nvtest::read_file(path) + "Comment=kept\n";
    nvtest::write_file(path, edited);
    AgentUtils::installDaemon();
    EXPECT_EQ(nvtest::read_file(path), edited);

    // An entry left by an agent installed elsewhere points at the running one afterwards.
    ASSERT_TRUE(nv_autostart_write(path, "NuvroAgent", {"/opt/Elsewhere/bin/NuvroAgent", "-runMode", "autoLaunched"}));
    EXPECT_FALSE(AgentUtils::isDaemon());
    AgentUtils::installDaemon();
    EXPECT_TRUE(AgentUtils::isDaemon());
    EXPECT_TRUE(desktop_file_valid(path));
}

TEST(AgentUtils, FolderInThePlaceOfTheEntryIsNoEntryAndIsKept)
{
    nvtest::ScopedConfigHome home;
    fs::create_directories(AgentUtils::daemonPath());
    EXPECT_FALSE(AgentUtils::isDaemon());
    NVLogCapture log;
    AgentUtils::installDaemon();
    EXPECT_TRUE(fs::is_directory(AgentUtils::daemonPath()));
    EXPECT_TRUE(log.contains("installDaemon: cannot write")) << "a failed write is at least logged";
}

TEST(AgentUtils, UninstallRemovesTheEntryAndIgnoresAMissingOne)
{
    nvtest::ScopedConfigHome home;
    AgentUtils::installDaemon();
    AgentUtils::unInstallDaemon();
    EXPECT_FALSE(fs::exists(AgentUtils::daemonPath()));
    AgentUtils::unInstallDaemon();
    EXPECT_FALSE(AgentUtils::isDaemon());
}
