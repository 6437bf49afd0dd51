#include "platform/linux/ProcessList.h"

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A process table as the kernel keeps it: 15 characters of a command name.
struct FakeProcesses final : NVProcessTable {
    std::vector<NVProcessEntry> procs;
    int listError = 0;
    void add(int32_t pid, std::string comm) { procs.push_back({pid, comm.substr(0, 15)}); }
    int list(std::vector<NVProcessEntry>& out) const override
    {
        if (listError)
            return listError;
        out.insert(out.end(), procs.begin(), procs.end());
        return 0;
    }
};

struct Lookup {
    int rc;
    std::vector<int32_t> pids;
    int error;
};

Lookup lookup(const NVProcessTable& table, const char* name, size_t capacity = NV_PID_CAPACITY)
{
    std::vector<int32_t> pids(capacity);
    size_t count = 99;
    int error = -7;
    const int rc = GetAllPIDsForProcessName(table, name, pids.data(), capacity, &count, &error);
    pids.resize(rc == NVPID_FOUND ? count : 0);
    return {rc, pids, error};
}

TEST(ProcessLookup, ResultCodes)
{
    FakeProcesses fake;
    fake.add(10, "NuvroAgent");
    fake.add(11, "bash");
    fake.add(12, "NuvroAgent");

    Lookup found = lookup(fake, "NuvroAgent");
    EXPECT_EQ(found.rc, NVPID_FOUND);
    EXPECT_EQ(found.pids, (std::vector<int32_t>{10, 12}));
    EXPECT_EQ(found.error, 0);

    EXPECT_EQ(lookup(fake, "NuvroHelper").rc, NVPID_NONE);
    EXPECT_EQ(lookup(fake, "NuvroAgen").rc, NVPID_NONE); // a prefix is another name
    EXPECT_EQ(lookup(fake, "").rc, NVPID_NONE);

    EXPECT_EQ(lookup(fake, "NuvroAgent", 2).rc, NVPID_FOUND);
    EXPECT_EQ(lookup(fake, "NuvroAgent", 1).rc, NVPID_TOO_MANY);

    int32_t pid = 0;
    size_t count = 0;
    EXPECT_EQ(GetAllPIDsForProcessName(fake, nullptr, &pid, 1, &count, nullptr), NVPID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName(fake, "bash", nullptr, 1, &count, nullptr), NVPID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName(fake, "bash", &pid, 1, nullptr, nullptr), NVPID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName(fake, "bash", &pid, 0, &count, nullptr), NVPID_BAD_ARGUMENT);
    EXPECT_EQ(GetAllPIDsForProcessName(fake, "bash", &pid, 1, &count, nullptr), NVPID_FOUND); // error optional
    EXPECT_EQ(pid, 11);

    fake.listError = EACCES;
    Lookup failed = lookup(fake, "bash");
    EXPECT_EQ(failed.rc, NVPID_TABLE_FAILED);
    EXPECT_EQ(failed.error, EACCES);
    fake.listError = ENOMEM;
    Lookup noMemory = lookup(fake, "bash");
    EXPECT_EQ(noMemory.rc, NVPID_NO_MEMORY);
    EXPECT_EQ(noMemory.error, 12);
}

TEST(ProcessLookup, LongNamesMatchOnTheCharactersTheKernelKeeps)
{
    FakeProcesses fake;
    fake.add(20, "NuvroTabletConsole"); // kept as "NuvroTabletCons"
    fake.add(21, "NuvroTabletInfo");
    EXPECT_EQ(lookup(fake, "NuvroTabletConsole").pids, std::vector<int32_t>{20});
    EXPECT_EQ(lookup(fake, "NuvroTabletConsXYZ").pids, std::vector<int32_t>{20});
    EXPECT_EQ(lookup(fake, "NuvroTabletInfo").pids, std::vector<int32_t>{21});
    EXPECT_EQ(lookup(fake, "NuvroTabletInfoX").pids, std::vector<int32_t>{21});
}

TEST(ProcessLookup, SinglePidAndTheLinesCallersPrint)
{
    FakeProcesses fake;
    fake.add(30, "NuvroHelper");
    fake.add(31, "NuvroAgent");
    fake.add(32, "NuvroAgent");
    EXPECT_EQ(GetPIDForProcessName(fake, "NuvroHelper"), 30);
    EXPECT_EQ(GetPIDForProcessName(fake, "NuvroAgent"), -1);
    EXPECT_EQ(GetPIDForProcessName(fake, "none"), -1);

    const int32_t pids[] = {31, 32};
    EXPECT_EQ(nv_describe_pids("NuvroAgent", NVPID_FOUND, pids, 2), "NuvroAgent PID(s):    \t31, 32\n");
    EXPECT_EQ(nv_describe_pids("X", NVPID_NONE, pids, 0), "Process Not Found:\t\"X\"\n");
    EXPECT_EQ(nv_describe_pids("X", NVPID_TABLE_FAILED, pids, 0), "Other Error Getting PID.  Error Code: -3\n");
}

TEST(ProcFsTable, ReadsNamesWithSpacesAndParenthesesAndLeavesZombiesOut)
{
    nvtest::TempDir proc;
    auto stat = [&](const char* pid, const std::string& line) {
        std::filesystem::create_directories(proc.path() / pid);
        nvtest::write_file(proc.path() / pid / "stat", line);
    };
    stat("100", "100 (NuvroAgent) S 1 100 100 0 -1\n");
    stat("101", "101 (a) b (c) R 1 101\n");
    stat("102", "102 (NuvroAgent) Z 1 102\n");
    stat("103", "103 (NuvroAgent) X 1 103\n");
    stat("104", "garbage");
    std::filesystem::create_directories(proc.path() / "self");
    std::filesystem::create_directories(proc.path() / "105"); // ended while the table was read

    const NVProcFsTable table(proc.path().string());
    std::vector<NVProcessEntry> entries;
    ASSERT_EQ(table.list(entries), 0);
    std::ranges::sort(entries, {}, &NVProcessEntry::pid);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].pid, 100);
    EXPECT_EQ(entries[0].comm, "NuvroAgent");
    EXPECT_EQ(entries[1].comm, "a) b (c");
    EXPECT_EQ(lookup(table, "NuvroAgent").pids, std::vector<int32_t>{100});
    EXPECT_TRUE(table.running(100));
    EXPECT_FALSE(table.running(102)) << "a zombie has ended";
    EXPECT_FALSE(table.running(105));
    EXPECT_FALSE(table.running(0));

    const NVProcFsTable missing((proc.path() / "none").string());
    Lookup failed = lookup(missing, "NuvroAgent");
    EXPECT_EQ(failed.rc, NVPID_TABLE_FAILED);
    EXPECT_EQ(failed.error, ENOENT);
}

TEST(ProcFsTable, FindsThisProcessInTheRealTable)
{
    const std::string comm = nvtest::read_file("/proc/self/comm");
    ASSERT_FALSE(comm.empty());
    const NVProcFsTable table;
    const Lookup self = lookup(table, comm.substr(0, comm.size() - 1).c_str());
    EXPECT_EQ(self.rc, NVPID_FOUND);
    EXPECT_NE(std::ranges::find(self.pids, static_cast<int32_t>(getpid())), self.pids.end());
}

// What every workspace adapter reports for a window's process.
TEST(ProcessProgram, ThisProcessIsItsExecutableWhatCannotBeReadIsEmptyWithOneLine)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    NVLogCapture log;
    EXPECT_EQ(nv_process_program(int32_t(getpid())), self);
    EXPECT_EQ(nv_process_program(0), "");
    EXPECT_TRUE(log.lines().empty());

    nvtest::TempDir proc;
    std::filesystem::create_directories(proc.path() / "42");
    EXPECT_EQ(nv_process_program(42, proc.path().string()), "") << "an ended process leaves no link";
    EXPECT_EQ(log.count("process 42: its program cannot be read"), 1u);

    // Another user's process (the init process as an unprivileged user): the kernel refuses.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        if (getuid() == 0 && setuid(65534) != 0)
            _exit(2);
        NVLogCapture childLog;
        const bool ok = nv_process_program(1).empty() && childLog.count("process 1: its program cannot be read") == 1;
        const char answer = ok ? 'y' : 'n';
        _exit(write(fds[1], &answer, 1) == 1 ? 0 : 3);
    }
    close(fds[1]);
    char answer = 0;
    EXPECT_EQ(read(fds[0], &answer, 1), 1);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(answer, 'y');
}

TEST(ProcessRunning, AnotherProcessOfTheNameCountsTheCallerDoesNot)
{
    const int32_t self = static_cast<int32_t>(getpid());
    FakeProcesses fake;
    fake.add(self, "NuvroAgent");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(checkProcessIsRunning(fake, "NuvroAgent"));
    fake.add(self + 1, "NuvroAgent");
    EXPECT_TRUE(checkProcessIsRunning(fake, "NuvroAgent"));
    EXPECT_FALSE(checkProcessIsRunning(fake, "NuvroTabletConsole"));
    fake.listError = EACCES;
    EXPECT_FALSE(checkProcessIsRunning(fake, "NuvroAgent"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("NuvroAgent PID(s):    \t" + std::to_string(self) + "\n"), std::string::npos);
    EXPECT_NE(out.find("\t\"NuvroTabletConsole\" Not Running,try to start TabletTabletAgent\n"), std::string::npos);
    EXPECT_NE(out.find("Other Error Getting PID.  Error Code: -3\n"), std::string::npos);
}

} // namespace
