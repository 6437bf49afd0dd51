#include "settings/privileged/NVPrivilegedRunner.h"

#include "tests/settings/FakeProcesses.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using nvtest::FakeProcesses;
using std::chrono::milliseconds;

// One run of the program's work on a temporary root and a scripted process table.
// A package manager that records what it is asked to remove and answers as scripted.
class FakePackages final : public NVPackageManager {
public:
    std::vector<std::string> purged;
    int status = 0;
    int purge(const std::string& package, std::string* why) override
    {
        purged.push_back(package);
        if (status < 0)
            *why = "No such file or directory";
        return status;
    }
};

class Privileged : public ::testing::Test {
protected:
    nvtest::TempDir root;
    FakeProcesses procs;
    FakePackages packages;

    struct Result {
        int rc;
        std::string out;
        std::string err;
    };

    Result run(const std::vector<std::string>& args, const NVProcessTable* table = nullptr,
               NVProcessControl* control = nullptr, std::vector<int32_t> spared = {})
    {
        NVPrivilegedEnv env;
        env.root = root.path().string();
        env.table = table ? table : &procs;
        env.control = control ? control : &procs;
        env.packages = &packages;
        env.spared = std::move(spared);
        env.grace = milliseconds(1000);
        env.poll = milliseconds(50);
        char* outText = nullptr;
        char* errText = nullptr;
        size_t outSize = 0;
        size_t errSize = 0;
        env.out = open_memstream(&outText, &outSize);
        env.err = open_memstream(&errText, &errSize);
        Result r{nv_privileged_run(args, env), "", ""};
        std::fclose(env.out);
        std::fclose(env.err);
        r.out.assign(outText, outSize);
        r.err.assign(errText, errSize);
        std::free(outText);
        std::free(errText);
        return r;
    }

    fs::path at(const std::string& path) const { return root.path() / path.substr(1); }

    void file(const std::string& path)
    {
        fs::create_directories(at(path).parent_path());
        nvtest::write_file(at(path), "x");
    }
};

TEST_F(Privileged, RefusesAnythingOutsideTheFixedListAndThenDoesNothing)
{
    file("/opt/NuvroTablet/bin/NuvroAgent");
    procs.add(50, "NuvroAgent");
    const struct {
        std::vector<std::string> args;
        int rc;
        const char* message;
    } cases[] = {
        {{}, NVPX_USAGE, "usage"},
        {{"kill"}, NVPX_USAGE, "not understood: \"kill\""},
        {{"rm", "-rf", "/"}, NVPX_USAGE, "not understood: \"rm\""},
        {{"kill", "NuvroAgent", "kill", "bash"}, NVPX_BAD_PROCESS, "\"bash\" is not a process of the suite"},
        {{"kill", "NuvroTabletCons"}, NVPX_BAD_PROCESS, "not a process of the suite"},
        {{"remove", "/opt/NuvroTablet", "remove", "/etc/passwd"}, NVPX_BAD_PATH, "\"/etc/passwd\" is not a path"},
        {{"remove", "/opt/NuvroTablet/../../etc"}, NVPX_BAD_PATH, "not a path of the suite"},
        {{"remove", "/opt/NuvroTablet/"}, NVPX_BAD_PATH, "not a path of the suite"},
        {{"remove", "opt/NuvroTablet"}, NVPX_BAD_PATH, "not a path of the suite"},
        {{"remove", "/home/u/.config/NuvroTablet"}, NVPX_BAD_PATH, "not a path of the suite"},
        {{"kill", "NuvroAgent", "remove-package", "libc6"}, NVPX_BAD_PACKAGE, "\"libc6\" is not the suite's package"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.rc, c.rc) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::exists(at("/opt/NuvroTablet/bin/NuvroAgent")));
    EXPECT_TRUE(procs.signals.empty());
    EXPECT_TRUE(packages.purged.empty());

    // Every refusal is reported, with the code of the first.
    const Result two = run({"kill", "sshd", "remove", "/root"});
    EXPECT_EQ(two.rc, NVPX_BAD_PROCESS);
    EXPECT_NE(two.err.find("sshd"), std::string::npos);
    EXPECT_NE(two.err.find("/root"), std::string::npos);
}

TEST_F(Privileged, RefusesAFixedPathWhoseFolderIsALinkElsewhere)
{
    nvtest::TempDir elsewhere;
    nvtest::write_file(elsewhere.path() / "precious", "x");
    fs::create_directories(elsewhere.path() / "NuvroTablet");
    fs::create_symlink(elsewhere.path(), at("/opt"));

    const Result r = run({"kill", "NuvroAgent", "remove", "/opt/NuvroTablet"});
    EXPECT_EQ(r.rc, NVPX_PATH_ESCAPES);
    EXPECT_NE(r.err.find("resolves to"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(elsewhere.path() / "NuvroTablet"));
    EXPECT_TRUE(procs.signals.empty());
}

TEST_F(Privileged, RemovesFoldersAndEntriesWithoutFollowingLinks)
{
    nvtest::TempDir outside;
    nvtest::write_file(outside.path() / "keep", "x");
    file("/opt/NuvroTablet/bin/NuvroAgent");
    file("/opt/NuvroTablet/Resources/res/config_default.xml");
    fs::create_directories(at("/opt/NuvroTablet/empty"));
    fs::create_directory_symlink(outside.path(), at("/opt/NuvroTablet/link"));
    fs::create_directories(at("/opt"));
    fs::create_directory_symlink(outside.path(), at("/opt/LumaTablet")); // the folder itself is a link
    file("/etc/xdg/autostart/nuvroapp.NuvroTabletConsole.agent.desktop");
    file("/etc/xdg/autostart/other.desktop");

    const Result r = run({"remove", "/opt/NuvroTablet", "remove", "/opt/KeltaTablet", "remove", "/opt/LumaTablet",
                          "remove", "/etc/xdg/autostart/nuvroapp.NuvroTabletConsole.agent.desktop", "remove",
                          "/etc/xdg/autostart/nuvroapp.NuvroTabletInfo.agent.desktop"});
    EXPECT_EQ(r.rc, NVPX_DONE) << r.err;
    EXPECT_FALSE(fs::exists(at("/opt/NuvroTablet")));
    EXPECT_FALSE(fs::is_symlink(at("/opt/LumaTablet")));
    EXPECT_FALSE(fs::exists(at("/etc/xdg/autostart/nuvroapp.NuvroTabletConsole.agent.desktop")));
    EXPECT_TRUE(fs::exists(at("/etc/xdg/autostart/other.desktop")));
    EXPECT_TRUE(fs::exists(outside.path() / "keep"));
    EXPECT_NE(r.out.find("removed /opt/NuvroTablet\n"), std::string::npos);
    EXPECT_NE(r.out.find("/opt/KeltaTablet not present\n"), std::string::npos);
}

TEST_F(Privileged, AFailedRemovalIsReportedAndTheRestStillRuns)
{
    file("/opt/NuvroTablet/locked/file");
    file("/opt/KeltaTablet/file");
    for (const char* dir : {"", "/opt", "/opt/NuvroTablet", "/opt/KeltaTablet"})
        fs::permissions(root.path().string() + dir, fs::perms::all);
    fs::permissions(at("/opt/NuvroTablet/locked"), fs::perms::owner_read | fs::perms::owner_exec);

    // Root removes from a read-only folder, so the run is made by an unprivileged user.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        const Result r = run({"remove", "/opt/NuvroTablet", "remove", "/opt/KeltaTablet"});
        _exit(r.rc * 10 + (r.err.find("cannot remove") != std::string::npos ? 1 : 0));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    fs::permissions(at("/opt/NuvroTablet/locked"), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), NVPX_FAILED * 10 + 1);
    EXPECT_TRUE(fs::exists(at("/opt/NuvroTablet/locked/file")));
    EXPECT_FALSE(fs::exists(at("/opt/KeltaTablet")));
}

TEST_F(Privileged, ThePackageIsPurgedInItsTurnAndItsFailureIsReported)
{
    procs.add(10, "NuvroAgent");
    const Result done = run({"kill", "NuvroAgent", "remove-package", "nuvrotablet"});
    EXPECT_EQ(done.rc, NVPX_DONE) << done.err;
    EXPECT_EQ(packages.purged, std::vector<std::string>{"nuvrotablet"});
    EXPECT_NE(done.out.find("removed the package nuvrotablet\n"), std::string::npos);

    file("/opt/KeltaTablet/file");
    for (int status : {1, -1}) {
        packages.status = status;
        const Result failed = run({"remove-package", "nuvrotablet", "remove", "/opt/KeltaTablet"});
        EXPECT_EQ(failed.rc, NVPX_FAILED);
        EXPECT_NE(failed.err.find(status > 0 ? "dpkg --purge nuvrotablet exited with 1" : "cannot run the package manager"),
                  std::string::npos)
            << failed.err;
    }
    EXPECT_FALSE(fs::exists(at("/opt/KeltaTablet"))) << "the operations after a failed one still run";
}

TEST_F(Privileged, KillAsksFirstAndForcesOnlyThoseStillRunningAfterTheGraceTime)
{
    procs.add(10, "NuvroAgent");
    procs.add(11, "NuvroAgent");
    procs.proc(11).quitsOnTerm = false;
    procs.add(12, "NuvroHelper");
    procs.add(13, "bash");
    procs.add(14, "NuvroTabletConsole"); // the kernel keeps "NuvroTabletCons"

    const Result r = run({"kill", "NuvroAgent", "kill", "NuvroTabletInfo", "kill", "NuvroTabletConsole"});
    EXPECT_EQ(r.rc, NVPX_DONE) << r.err;
    EXPECT_EQ(procs.signals,
              (std::vector<std::pair<int32_t, int>>{{10, SIGTERM}, {11, SIGTERM}, {11, SIGKILL}, {14, SIGTERM}}));
    EXPECT_GE(procs.now, milliseconds(1000)); // the whole grace time went by before SIGKILL
    EXPECT_LT(procs.now, milliseconds(1400));
    EXPECT_TRUE(procs.running(12));
    EXPECT_TRUE(procs.running(13));
    EXPECT_NE(r.out.find("NuvroAgent PID(s):    \t10, 11\n"), std::string::npos);
    EXPECT_NE(r.out.find("Process Not Found:\t\"NuvroTabletInfo\"\n"), std::string::npos);
}

TEST_F(Privileged, AnOrderlyShutdownIsAwaitedWithoutForce)
{
    procs.add(10, "NuvroAgent");
    procs.termDelay = milliseconds(400);
    EXPECT_EQ(run({"kill", "NuvroAgent"}).rc, NVPX_DONE);
    EXPECT_EQ(procs.signals, (std::vector<std::pair<int32_t, int>>{{10, SIGTERM}}));
    EXPECT_GE(procs.now, milliseconds(400));
}

TEST_F(Privileged, TheCallerIsSparedAndFailuresDoNotStopLaterOperations)
{
    procs.add(20, "NuvroTablet"); // the settings application that asked
    procs.add(21, "NuvroTablet");
    procs.add(22, "NuvroHelper");
    procs.proc(22).refuse = EPERM;
    procs.add(23, "NuvroAgent");
    procs.proc(23).quitsOnTerm = false;
    procs.proc(23).killable = false;
    file("/opt/NuvroTablet/x");

    const Result r = run({"kill", "NuvroTablet", "kill", "NuvroHelper", "kill", "NuvroAgent", "remove",
                          "/opt/NuvroTablet"},
                         nullptr, nullptr, {20});
    EXPECT_EQ(r.rc, NVPX_FAILED);
    EXPECT_TRUE(procs.running(20));
    EXPECT_FALSE(procs.running(21));
    EXPECT_NE(r.err.find("cannot signal 22"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("NuvroAgent (23) still runs"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(at("/opt/NuvroTablet")));
    for (const auto& [pid, sig] : procs.signals)
        EXPECT_NE(pid, 20);
}

TEST_F(Privileged, AnUnreadableProcessTableFailsTheKill)
{
    procs.listError = EACCES;
    const Result r = run({"kill", "NuvroAgent"});
    EXPECT_EQ(r.rc, NVPX_FAILED);
    EXPECT_NE(r.out.find("Other Error Getting PID.  Error Code: -3"), std::string::npos);
}

// The real /proc, seen with one child process renamed: the kill goes to real processes
// without touching any real process of the suite on this machine.
class RenamedChild final : public NVProcessTable {
public:
    RenamedChild(int32_t pid, std::string name) : pid_(pid), name_(std::move(name)) {}
    int list(std::vector<NVProcessEntry>& out) const override
    {
        std::vector<NVProcessEntry> all;
        if (const int rc = real_.list(all))
            return rc;
        for (const NVProcessEntry& e : all)
            if (e.pid == pid_)
                out.push_back({e.pid, name_});
        return 0;
    }

private:
    NVProcFsTable real_;
    int32_t pid_;
    std::string name_;
};

pid_t spawn(std::vector<const char*> argv)
{
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv.data()), environ) != 0)
        return -1;
    return pid;
}

int end_signal(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

TEST_F(Privileged, EndsRealProcessesAskingFirstThenByForce)
{
    NVPosixProcessControl control;
    const pid_t polite = spawn({"/bin/sleep", "60"});
    ASSERT_GT(polite, 0);
    const RenamedChild politeTable(polite, "NuvroAgent");
    EXPECT_EQ(run({"kill", "NuvroAgent"}, &politeTable, &control).rc, NVPX_DONE);
    EXPECT_EQ(end_signal(polite), SIGTERM);

    // A shell that ignores SIGTERM: the ignored disposition survives exec.
    const pid_t stubborn = spawn({"/bin/sh", "-c", "trap '' TERM; exec /bin/sleep 60"});
    ASSERT_GT(stubborn, 0);
    const RenamedChild stubbornTable(stubborn, "NuvroHelper");
    for (int i = 0; i < 200 && nvtest::read_file("/proc/" + std::to_string(stubborn) + "/comm") != "sleep\n"; ++i)
        usleep(10000); // until the trap is set and sleep runs
    const Result r = run({"kill", "NuvroHelper"}, &stubbornTable, &control);
    EXPECT_EQ(r.rc, NVPX_DONE) << r.err;
    EXPECT_EQ(end_signal(stubborn), SIGKILL);
}

// The shipped program has no way to be pointed elsewhere, so only its refusals are run.
TEST(PrivilegedProgram, RefusesWithAnExitCodeAndAMessage)
{
    nvtest::TempDir dir;
    const std::string errPath = (dir.path() / "err").string();
    auto run = [&](std::vector<const char*> args) {
        args.insert(args.begin(), NV_REMOVE_EXE);
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, NV_REMOVE_EXE, &actions, nullptr, const_cast<char**>(args.data()), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return std::pair<int, std::string>(-1, "");
        return std::pair<int, std::string>(WEXITSTATUS(status), nvtest::read_file(errPath));
    };
    const auto [usage, usageText] = run({});
    EXPECT_EQ(usage, NVPX_USAGE);
    EXPECT_NE(usageText.find("usage"), std::string::npos);
    const auto [process, processText] = run({"kill", "init"});
    EXPECT_EQ(process, NVPX_BAD_PROCESS);
    EXPECT_NE(processText.find("\"init\" is not a process of the suite"), std::string::npos);
    const auto [path, pathText] = run({"kill", "NuvroAgent", "remove", "/"});
    EXPECT_EQ(path, NVPX_BAD_PATH);
    EXPECT_NE(pathText.find("\"/\" is not a path of the suite"), std::string::npos);
}

} // namespace
