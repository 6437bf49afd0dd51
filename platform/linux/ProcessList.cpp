#include "platform/linux/ProcessList.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string g_procRoot = "/proc";

// The command name of a process, without the trailing newline; empty when unreadable
// (the process may have ended while we looked).
std::string read_comm(const std::string& dir)
{
    FILE* f = std::fopen((dir + "/comm").c_str(), "r");
    if (!f)
        return {};
    char buf[64] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    std::string comm(buf, n);
    if (!comm.empty() && comm.back() == '\n')
        comm.pop_back();
    return comm;
}

} // namespace

void nv_set_proc_root(const char* path)
{
    g_procRoot = path ? path : "/proc";
}

int GetAllPIDsForProcessName(const char* name, int32_t* pids, size_t arraySize, size_t* count, int* error)
{
    if (!name || !pids || !count || arraySize == 0)
        return NV_PID_BAD_ARGUMENT;
    std::memset(pids, 0, arraySize * sizeof *pids);
    *count = 0;
    if (error)
        *error = 0;

    DIR* dir = opendir(g_procRoot.c_str());
    if (!dir) {
        if (error)
            *error = errno;
        return NV_PID_TABLE_FAILED;
    }
    const std::string_view wanted = std::string_view(name).substr(0, std::min(std::strlen(name), NV_COMM_LEN));
    int result = NV_PID_NONE;
    while (dirent* e = readdir(dir)) {
        char* end = nullptr;
        const long pid = std::strtol(e->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        if (read_comm(g_procRoot + "/" + e->d_name) != wanted)
            continue;
        if (*count == arraySize) {
            result = NV_PID_TOO_MANY;
            break;
        }
        pids[(*count)++] = static_cast<int32_t>(pid);
        result = NV_PID_FOUND;
    }
    closedir(dir);
    return result;
}

int GetPIDForProcessName(const char* name)
{
    int32_t pid = 0;
    size_t count = 0;
    if (GetAllPIDsForProcessName(name, &pid, 1, &count, nullptr) == NV_PID_FOUND && count == 1)
        return pid;
    return -1;
}

bool checkProcessIsRunning(const char* name)
{
    int32_t pids[100];
    size_t count = 0;
    const int rc = GetAllPIDsForProcessName(name, pids, 100, &count, nullptr);
    if (rc == NV_PID_NONE) {
        std::printf("\t\"%s\" Not Running,try to start TabletTabletAgent\n", name);
        return false;
    }
    if (rc != NV_PID_FOUND) {
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
