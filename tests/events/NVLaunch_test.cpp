// Opening key-function targets: argument vectors only, never a shell.
#include "tests/events/EventsTestSupport.h"

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

#include "core/events/NVLaunchPlan.h"
#include "core/log/NVLog.h"
#include "platform/sim/FakeWorkspace.h"
#include "tests/support/TestSupport.h"

namespace {

using Args = std::vector<std::string>;

TEST(DesktopExec, QuotingEscapesAndFieldCodes)
{
    Args argv;
    ASSERT_TRUE(nv_desktop_exec_split(R"("/opt/my app/bin/run" --x=%% "a\"b\\c\$d" %U -f %k)", "/e.desktop",
                                      "N", "", argv));
    EXPECT_EQ(argv, (Args{"/opt/my app/bin/run", "--x=%", "a\"b\\c$d", "-f", "/e.desktop"}));

    ASSERT_TRUE(nv_desktop_exec_split("paint %i --title=%c  \"\"", "/e", "Paint", "paint-icon", argv));
    EXPECT_EQ(argv, (Args{"paint", "--icon", "paint-icon", "--title=Paint", ""}));

    EXPECT_FALSE(nv_desktop_exec_split("run \"open", "/e", "", "", argv));
    EXPECT_FALSE(nv_desktop_exec_split("%f %u", "/e", "", "", argv));
}

TEST(DesktopExec, EntryTextReadsOnlyTheMainGroup)
{
    const std::string text = "# c\n[Desktop Entry]\r\nName=Pad\nExec = /usr/bin/pad\\s2 --name %c %F\n"
                             "[Desktop Action New]\nExec=/usr/bin/other\n";
    Args argv;
    ASSERT_TRUE(nv_desktop_entry_argv(text, "/x.desktop", argv));
    EXPECT_EQ(argv, (Args{"/usr/bin/pad", "2", "--name", "Pad"}));
    EXPECT_FALSE(nv_desktop_entry_argv("[Desktop Entry]\nName=Link\nURL=http://x\n", "/x", argv));
}

class LaunchTest : public MacFuncTest {
protected:
    void SetUp() override
    {
        MacFuncTest::SetUp();
        NVMacFunc::setProcessLauncher(&launcher);
    }
    void TearDown() override
    {
        NVMacFunc::setProcessLauncher(nullptr);
        MacFuncTest::TearDown();
    }
    void launch(const std::string& cmdPath)
    {
        NVEkey k{};
        std::strncpy(k.cmdPath, cmdPath.c_str(), sizeof k.cmdPath - 1);
        NVMacFunc::launchAPP(&k);
    }
    std::string file(const std::string& name, const std::string& text, bool executable)
    {
        const auto p = dir.path() / name;
        nvtest::write_file(p, text);
        chmod(p.c_str(), executable ? 0755 : 0644);
        return p.string();
    }

    RecordingLauncher launcher;
    nvtest::TempDir dir;
};

TEST_F(LaunchTest, ExecutablesDesktopEntriesAndDocuments)
{
    const std::string tool = file("my tool; $(rm -rf ~)", "#!/bin/sh\n", true);
    const std::string doc = file("notes \"x\".txt", "hello", false);
    const std::string entry = file("pad.desktop", "[Desktop Entry]\nExec=\"" + tool + "\" --new %U\n", false);
    const std::string bare = file("bare.desktop", "[Desktop Entry]\nName=bare\n", false);

    std::string escaped;
    for (char c : tool)
        escaped += c == ' ' ? std::string("%20") : std::string(1, c);
    launch(escaped);
    launch(doc);
    launch(entry);
    launch(bare);
    launch(dir.path().string());

    ASSERT_EQ(launcher.started.size(), 5u);
    EXPECT_EQ(launcher.started[0], (Args{tool}));
    EXPECT_EQ(launcher.started[1], (Args{"xdg-open", doc}));
    EXPECT_EQ(launcher.started[2], (Args{tool, "--new"}));
    EXPECT_EQ(launcher.started[3], (Args{"xdg-open", bare}));
    EXPECT_EQ(launcher.started[4], (Args{"xdg-open", dir.path().string()}));
}

TEST_F(LaunchTest, UnterminatedPathStaysInsideItsBuffer)
{
    NVEkey k{};
    std::memset(k.cmdPath, 'a', sizeof k.cmdPath);
    NVMacFunc::launchAPP(&k);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0][1], std::string(NV_STR_MAX, 'a'));
}

TEST_F(LaunchTest, EmptyPathsAndFailedStartsAreLogged)
{
    NVLogCapture log;
    launch("");
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(log.contains("launchAPP: no path"));
    launcher.succeed = false;
    launch("/nowhere/x");
    EXPECT_TRUE(log.contains("launchAPP: cannot open /nowhere/x"));
}

TEST(ActiveWindow, ComesFromTheCachedWorkspaceName)
{
    EXPECT_EQ(NVMacFunc::inqueryActiveWindow(), "");
    FakeWorkspace workspace;
    NVMacFunc::setWorkspace(&workspace);
    workspace.activate("/usr/bin/krita", "krita");
    EXPECT_EQ(NVMacFunc::inqueryActiveWindow(), "krita");
    EXPECT_EQ(&NVMacFunc::inqueryActiveWindow(), &workspace.frontmostOwnerName());
    NVMacFunc::setWorkspace(nullptr);
    EXPECT_EQ(NVMacFunc::inqueryActiveWindow(), "");
}

} // namespace
