#include "platform/linux/ProcessList.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class FakeProcTable : public ::testing::Test {
protected:
    void SetUp() override { nv_set_proc_root(dir_.path().c_str()); }
    void TearDown() override { nv_set_proc_root(nullptr); }

    void add(const std::string& pid, const std::string& comm)
    {
        std::filesystem::create_directories(dir_.path() / pid);
        nvtest::write_file(dir_.path() / pid / "comm", comm + "\n");
    }

    nvtest::TempDir dir_;
};

} // namespace

TEST_F(FakeProcTable, MatchesOnTheFirst15CharactersOfTheCommandName)
{
    add("100", "NuvroAgent");
    add("200", "NuvroTabletCons"); // the kernel's cut of "NuvroTabletConsole"
    add("300", "NuvroAgentX");
    add("self", "NuvroAgent");     // not a process id
    add("0", "NuvroAgent");
    std::filesystem::create_directories(dir_.path() / "400"); // exited: no comm

    int32_t pids[4];
    size_t count = 0;
    int err = -1;
    EXPECT_EQ(GetAllPIDsForProcessName("NuvroAgent", pids, 4, &count, &err), NV_PID_FOUND);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(pids[0], 100);
    EXPECT_EQ(err, 0);

    EXPECT_EQ(GetAllPIDsForProcessName("NuvroTabletConsole", pids, 4, &count, nullptr), NV_PID_FOUND);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(pids[0], 200);
    EXPECT_EQ(GetPIDForProcessName("NuvroTabletConsole"), 200);

    EXPECT_EQ(GetAllPIDsForProcessName("Nuvro", pids, 4, &count, nullptr), NV_PID_NONE);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(GetPIDForProcessName("Nuvro"), -1);
}

TEST_F(FakeProcTable, ArgumentAndCapacityErrors)
{
    add("10", "NuvroAgent");
    add("11", "NuvroAgent");
    int32_t pids[2];
    size_t count = 0;
    EXPECT_EQ(GetAllPIDsForProcessName(nullptr, pids, 2, &count, nullptr), NV_PID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName("NuvroAgent", nullptr, 2, &count, nullptr), NV_PID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName("NuvroAgent", pids, 0, &count, nullptr), NV_PID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName("NuvroAgent", pids, 1, &count, nullptr), NV_PID_TOO_MANY);
    EXPECT_EQ(GetPIDForProcessName("NuvroAgent"), -1) << "two processes: no single id";

    nv_set_proc_root((dir_.path() / "missing").c_str());
    int err = 0;
    EXPECT_EQ(GetAllPIDsForProcessName("NuvroAgent", pids, 2, &count, &err), NV_PID_TABLE_FAILED);
    EXPECT_EQ(err, ENOENT);
}

TEST_F(FakeProcTable, RunningCheckIgnoresTheCallingProcess)
{
    const std::string self = std::to_string(getpid());
    add(self, "NuvroAgent");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(checkProcessIsRunning("NuvroAgent"));
    add("99999999", "NuvroAgent");
    EXPECT_TRUE(checkProcessIsRunning("NuvroAgent"));
    EXPECT_FALSE(checkProcessIsRunning("NuvroTabletConsole"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("NuvroAgent PID(s):    \t" + self + "\n"), std::string::npos);
    EXPECT_NE(out.find("\t\"NuvroTabletConsole\" Not Running,try to start TabletTabletAgent\n"), std::string::npos);
}
