#include "platform/linux/ProcessList.h"

#include "core/log/NVLog.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <new>
#include <string_view>
#include <unistd.h>

namespace {

// The command name of a running process, from "pid (comm) state ..."; empty when the
// process ended while the table was read or is a zombie. The name may itself hold
// spaces and parentheses, so it ends at the last ')'.
std::string read_running_comm(const std::string& dir)
{
    FILE* f = std::fopen((dir + "/stat").c_str(), "r");
    if (!f)
        return {};
    char buf[256] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    const std::string_view stat(buf, n);
    const size_t open = stat.find('(');
    const size_t close = stat.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open || close + 2 >= n)
        return {};
    const char state = stat[close + 2];
    if (state == 'Z' || state == 'X')
        return {};
    return std::string(stat.substr(open + 1, close - open - 1));
}

} // namespace

int NVProcFsTable::list(std::vector<NVProcessEntry>& out) const
{
    DIR* dir = opendir(root_.c_str());
    if (!dir)
        return errno;
    int rc = 0;
    try {
        while (const dirent* e = readdir(dir)) {
            char* end = nullptr;
            const long pid = std::strtol(e->d_name, &end, 10);
            if (pid <= 0 || pid > INT32_MAX || *end != '\0')
                continue;
            std::string comm = read_running_comm(root_ + "/" + e->d_name);
            if (!comm.empty())
                out.push_back({static_cast<int32_t>(pid), std::move(comm)});
        }
    } catch (const std::bad_alloc&) {
        rc = ENOMEM;
    }
    closedir(dir);
    return rc;
}

bool NVProcFsTable::running(int32_t pid) const
{
    return pid > 0 && !read_running_comm(root_ + "/" + std::to_string(pid)).empty();
}

int GetAllPIDsForProcessName(const NVProcessTable& table, const char* name, int32_t* pids, size_t arraySize,
                             size_t* count, int* error)
{
    if (!name || !pids || !count || arraySize == 0)
        return NVPID_BAD_ARGUMENT;
    *count = 0;
    if (error)
        *error = 0;

    std::vector<NVProcessEntry> entries;
    int rc = 0;
    try {
        rc = table.list(entries);
    } catch (const std::bad_alloc&) {
        rc = ENOMEM;
    }
    if (rc != 0) {
        if (error)
            *error = rc;
        return rc == ENOMEM ? NVPID_NO_MEMORY : NVPID_TABLE_FAILED;
    }

    const std::string_view full(name);
    const std::string_view wanted = full.substr(0, NV_PROCESS_NAME_MATCH);
    int result = NVPID_NONE;
    for (const NVProcessEntry& e : entries) {
        if (e.pid <= 0 || std::string_view(e.comm).substr(0, NV_PROCESS_NAME_MATCH) != wanted)
            continue;
        if (*count == arraySize)
            return NVPID_TOO_MANY;
        pids[(*count)++] = e.pid;
        result = NVPID_FOUND;
    }
    return result;
}

int GetPIDForProcessName(const NVProcessTable& table, const char* name)
{
    int32_t pid = 0;
    size_t count = 0;
    if (GetAllPIDsForProcessName(table, name, &pid, 1, &count, nullptr) == NVPID_FOUND && count == 1)
        return pid;
    return -1;
}

bool checkProcessIsRunning(const NVProcessTable& table, const char* name)
{
    int32_t pids[NV_PID_CAPACITY];
    size_t count = 0;
    const int rc = GetAllPIDsForProcessName(table, name, pids, NV_PID_CAPACITY, &count, nullptr);
    if (rc == NVPID_NONE) {
        std::printf("\t\"%s\" Not Running,try to start TabletTabletAgent\n", name);
        return false;
    }
    if (rc != NVPID_FOUND) {
        std::printf("Other Error Getting PID.  Error Code: %d\n\n", rc);
        return false;
    }
    std::printf("%s PID(s):    \t", name);
    bool other = false;
    const int32_t self = static_cast<int32_t>(getpid());
    for (size_t i = 0; i < count; ++i) {
        std::printf(i ? ", %d" : "%d", pids[i]);
        other = other || pids[i] != self;
    }
    std::printf("\n");
    return other;
}

std::string nv_describe_pids(const char* name, int rc, const int32_t* pids, size_t count)
{
    if (rc == NVPID_NONE)
        return std::string("Process Not Found:\t\"") + name + "\"\n";
    if (rc != NVPID_FOUND)
        return "Other Error Getting PID.  Error Code: " + std::to_string(rc) + "\n";
    std::string text = std::string(name) + " PID(s):    \t";
    for (size_t i = 0; i < count; ++i)
        text += (i ? ", " : "") + std::to_string(pids[i]);
    return text + "\n";
}

std::string nv_process_program(int32_t pid, const std::string& procRoot)
{
    if (pid <= 0)
        return {};
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink(procRoot + "/" + std::to_string(pid) + "/exe", ec);
    if (ec) {
        nv_log("process %d: its program cannot be read (%s), the default profile applies", int(pid),
               ec.message().c_str());
        return {};
    }
    return exe.string();
}
