#include "settings/privileged/NVPrivilegedRunner.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <optional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace {

constexpr const char* kProgram = "nuvro-remove";

// Where a removal acts, once its path is accepted.
struct Resolved {
    std::string full;    // the path under the root, through resolved folders only
    bool absent = false; // its folder does not exist: nothing to remove
};

std::optional<std::string> real_path(const std::string& path)
{
    char* r = realpath(path.c_str(), nullptr);
    if (!r)
        return std::nullopt;
    std::string s(r);
    std::free(r);
    return s;
}

// A fixed path is accepted when the folder holding it resolves to itself under the root:
// a symbolic link on the way could lead the removal anywhere. The last component is
// never followed (a link there is removed as a link).
int resolve(const std::string& path, const NVPrivilegedEnv& env, Resolved& out)
{
    std::string root;
    if (!env.root.empty()) {
        const std::optional<std::string> r = real_path(env.root);
        if (!r) {
            std::fprintf(env.err, "%s: refused: the root %s cannot be resolved\n", kProgram, env.root.c_str());
            return NVPX_PATH_ESCAPES;
        }
        root = *r;
    }
    const std::string folder = path.substr(0, path.rfind('/'));
    out.full = root + path;
    errno = 0;
    const std::optional<std::string> resolved = real_path(env.root + folder);
    if (!resolved) {
        if (errno == ENOENT || errno == ENOTDIR) {
            out.absent = true;
            return NVPX_DONE;
        }
        std::fprintf(env.err, "%s: refused: %s cannot be resolved: %s\n", kProgram, path.c_str(), std::strerror(errno));
        return NVPX_PATH_ESCAPES;
    }
    if (*resolved != root + folder) {
        std::fprintf(env.err, "%s: refused: the folder of %s resolves to %s\n", kProgram, path.c_str(),
                     resolved->c_str());
        return NVPX_PATH_ESCAPES;
    }
    return NVPX_DONE;
}

int check(const NVPrivilegedOp& op, const NVPrivilegedEnv& env, Resolved& out)
{
    if (op.kind == NVPrivilegedKind::Kill) {
        if (nv_is_privileged_process(op.target))
            return NVPX_DONE;
        std::fprintf(env.err, "%s: refused: \"%s\" is not a process of the suite\n", kProgram, op.target.c_str());
        return NVPX_BAD_PROCESS;
    }
    if (op.kind == NVPrivilegedKind::RemovePackage) {
        if (nv_is_privileged_package(op.target))
            return NVPX_DONE;
        std::fprintf(env.err, "%s: refused: \"%s\" is not the suite's package\n", kProgram, op.target.c_str());
        return NVPX_BAD_PACKAGE;
    }
    if (!nv_is_privileged_path(op.target)) {
        std::fprintf(env.err, "%s: refused: \"%s\" is not a path of the suite\n", kProgram, op.target.c_str());
        return NVPX_BAD_PATH;
    }
    return resolve(op.target, env, out);
}

// The targets still running under the name; nothing when the table cannot be read.
std::vector<int32_t> survivors(const std::string& name, const std::vector<int32_t>& targets,
                               const NVPrivilegedEnv& env, bool& ok)
{
    int32_t pids[NV_PID_CAPACITY];
    size_t count = 0;
    int error = 0;
    const int rc = GetAllPIDsForProcessName(*env.table, name.c_str(), pids, NV_PID_CAPACITY, &count, &error);
    if (rc != NVPID_FOUND && rc != NVPID_NONE) {
        std::fprintf(env.err, "%s: cannot list the processes (%d): %s\n", kProgram, rc, std::strerror(error));
        ok = false;
        return {};
    }
    std::vector<int32_t> left;
    for (int32_t pid : targets)
        if (std::find(pids, pids + count, pid) != pids + count)
            left.push_back(pid);
    return left;
}

std::vector<int32_t> wait_for_end(const std::string& name, const std::vector<int32_t>& targets,
                                  const NVPrivilegedEnv& env, bool& ok)
{
    for (std::chrono::milliseconds waited{0};; waited += env.poll) {
        std::vector<int32_t> left = survivors(name, targets, env, ok);
        if (left.empty() || waited >= env.grace)
            return left;
        env.control->pause(env.poll);
    }
}

void send(int32_t pid, int sig, const NVPrivilegedEnv& env, bool& ok)
{
    const int e = env.control->signal(pid, sig);
    if (e != 0 && e != ESRCH) {
        std::fprintf(env.err, "%s: cannot signal %d: %s\n", kProgram, pid, std::strerror(e));
        ok = false;
    }
}

// Asks every process of the name to quit, so that it shuts down in order, and forces
// those still running after the grace time.
bool run_kill(const std::string& name, const NVPrivilegedEnv& env)
{
    int32_t pids[NV_PID_CAPACITY];
    size_t count = 0;
    int error = 0;
    const int rc = GetAllPIDsForProcessName(*env.table, name.c_str(), pids, NV_PID_CAPACITY, &count, &error);
    std::fputs(nv_describe_pids(name.c_str(), rc, pids, count).c_str(), env.out);
    if (rc == NVPID_NONE)
        return true;
    if (rc != NVPID_FOUND)
        return false;
    std::vector<int32_t> targets;
    for (size_t i = 0; i < count; ++i)
        if (std::ranges::find(env.spared, pids[i]) == env.spared.end())
            targets.push_back(pids[i]);

    bool ok = true;
    for (int32_t pid : targets)
        send(pid, SIGTERM, env, ok);
    const std::vector<int32_t> stubborn = wait_for_end(name, targets, env, ok);
    if (stubborn.empty())
        return ok;
    for (int32_t pid : stubborn)
        send(pid, SIGKILL, env, ok);
    for (int32_t pid : wait_for_end(name, stubborn, env, ok)) {
        std::fprintf(env.err, "%s: %s (%d) still runs\n", kProgram, name.c_str(), pid);
        ok = false;
    }
    return ok;
}

// nftw hands its callback no context; the program removes one path at a time.
FILE* g_removeErr = nullptr;
bool g_removeOk = true;

int remove_entry(const char* path, const struct stat*, int flag, FTW*)
{
    if (flag == FTW_DNR || flag == FTW_NS) {
        std::fprintf(g_removeErr, "%s: cannot read %s\n", kProgram, path);
        g_removeOk = false;
    }
    if (std::remove(path) != 0) {
        std::fprintf(g_removeErr, "%s: cannot remove %s: %s\n", kProgram, path, std::strerror(errno));
        g_removeOk = false;
    }
    return 0;
}

// Removes the path and, for a folder, everything in it, on its own file system only and
// without following symbolic links.
bool run_remove(const std::string& path, const Resolved& where, const NVPrivilegedEnv& env)
{
    struct stat st;
    if (where.absent || lstat(where.full.c_str(), &st) != 0) {
        std::fprintf(env.out, "%s not present\n", path.c_str());
        return true;
    }
    g_removeErr = env.err;
    g_removeOk = true;
    if (nftw(where.full.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT) != 0) {
        std::fprintf(env.err, "%s: cannot walk %s: %s\n", kProgram, path.c_str(), std::strerror(errno));
        g_removeOk = false;
    }
    if (g_removeOk)
        std::fprintf(env.out, "removed %s\n", path.c_str());
    return g_removeOk;
}

bool run_remove_package(const std::string& package, const NVPrivilegedEnv& env)
{
    std::string why = "no package manager";
    const int status = env.packages ? env.packages->purge(package, &why) : -1;
    if (status == 0) {
        std::fprintf(env.out, "removed the package %s\n", package.c_str());
        return true;
    }
    if (status < 0)
        std::fprintf(env.err, "%s: cannot run the package manager: %s\n", kProgram, why.c_str());
    else
        std::fprintf(env.err, "%s: dpkg --purge %s exited with %d\n", kProgram, package.c_str(), status);
    return false;
}

bool run(const NVPrivilegedOp& op, const Resolved& where, const NVPrivilegedEnv& env)
{
    switch (op.kind) {
    case NVPrivilegedKind::Kill:
        return run_kill(op.target, env);
    case NVPrivilegedKind::Remove:
        return run_remove(op.target, where, env);
    case NVPrivilegedKind::RemovePackage:
        return run_remove_package(op.target, env);
    }
    return false;
}

} // namespace

int NVDpkg::purge(const std::string& package, std::string* why)
{
    const char* const argv[] = {"dpkg", "--purge", package.c_str(), nullptr};
    // pkexec hands over a minimal environment; the package's scripts get a plain one.
    const char* const envp[] = {"PATH=/usr/sbin:/usr/bin:/sbin:/bin", "DEBIAN_FRONTEND=noninteractive",
                                "LC_ALL=C", nullptr};
    pid_t pid = 0;
    const int e = posix_spawn(&pid, "/usr/bin/dpkg", nullptr, nullptr, const_cast<char* const*>(argv),
                              const_cast<char* const*>(envp));
    if (e != 0) {
        *why = std::strerror(e);
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            *why = std::strerror(errno);
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int NVPosixProcessControl::signal(int32_t pid, int sig)
{
    return ::kill(pid, sig) == 0 ? 0 : errno;
}

void NVPosixProcessControl::pause(std::chrono::milliseconds d)
{
    std::this_thread::sleep_for(d);
}

int nv_privileged_run(const std::vector<std::string>& args, const NVPrivilegedEnv& env)
{
    std::vector<NVPrivilegedOp> ops;
    std::string bad;
    if (args.empty() || !nv_parse_privileged_args(args, ops, &bad)) {
        std::fprintf(env.err, "%s: usage: %s {kill NAME | remove PATH | remove-package NAME}...%s%s%s\n", kProgram, kProgram,
                     args.empty() ? "" : " (not understood: \"", bad.c_str(), args.empty() ? "" : "\")");
        return NVPX_USAGE;
    }
    std::vector<Resolved> where(ops.size());
    int refusal = NVPX_DONE;
    for (size_t i = 0; i < ops.size(); ++i) {
        const int rc = check(ops[i], env, where[i]);
        if (refusal == NVPX_DONE)
            refusal = rc;
    }
    if (refusal != NVPX_DONE)
        return refusal;

    bool ok = true;
    for (size_t i = 0; i < ops.size(); ++i) {
        const bool done = run(ops[i], where[i], env);
        ok = ok && done;
    }
    return ok ? NVPX_DONE : NVPX_FAILED;
}
