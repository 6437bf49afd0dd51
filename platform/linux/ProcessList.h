// Processes by command name over a port on the system's process table. Linux keeps 15
// characters of a command name, so a longer name is matched on its first 15. Also the
// program a process runs, which names an application for its per-application profile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct NVProcessEntry {
    int32_t pid;
    std::string comm; // command name as the kernel keeps it
};

// The system's process table.
class NVProcessTable {
public:
    virtual ~NVProcessTable() = default;
    // Fills out with every running process; 0 on success, else an errno value (ENOMEM when
    // memory ran out).
    virtual int list(std::vector<NVProcessEntry>& out) const = 0;
};

// The running processes of /proc (or of another folder laid out like it); zombies,
// which have ended but are not yet collected, are left out.
class NVProcFsTable final : public NVProcessTable {
public:
    explicit NVProcFsTable(std::string root = "/proc") : root_(std::move(root)) {}
    int list(std::vector<NVProcessEntry>& out) const override;
    // Whether the process is there and has not ended (a zombie has).
    bool running(int32_t pid) const;

private:
    std::string root_;
};

constexpr size_t NV_PROCESS_NAME_MATCH = 15;
// Callers' capacity for one name.
constexpr size_t NV_PID_CAPACITY = 100;

enum NVPidLookup : int {
    NVPID_FOUND = 0,
    NVPID_NONE = -1,
    NVPID_BAD_ARGUMENT = -2, // a null argument or capacity 0
    NVPID_TABLE_FAILED = -3, // *error receives errno
    NVPID_NO_MEMORY = -4,    // *error receives ENOMEM
    NVPID_TOO_MANY = -5,     // more matches than the capacity
};

// The ids (all positive) of every process named name, in table order; *count receives
// their number. error may be null.
int GetAllPIDsForProcessName(const NVProcessTable& table, const char* name, int32_t* pids, size_t arraySize,
                             size_t* count, int* error);
// The id of the only process of that name, else -1.
int GetPIDForProcessName(const NVProcessTable& table, const char* name);

// True when a process of that name other than this one runs; prints what it found.
bool checkProcessIsRunning(const NVProcessTable& table, const char* name);

// The executable the process runs (its /proc/PID/exe link: absolute, links resolved), as
// every workspace adapter reports the frontmost application. Empty for pid 0 and, with
// one log line, when it cannot be read: a process that has ended, or another user's.
std::string nv_process_program(int32_t pid, const std::string& procRoot = "/proc");

// The line callers print for a lookup: "<name> PID(s):    \t1, 2\n",
// "Process Not Found:\t\"<name>\"\n", or "Other Error Getting PID.  Error Code: <rc>\n".
std::string nv_describe_pids(const char* name, int rc, const int32_t* pids, size_t count);
