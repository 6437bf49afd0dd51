// Processes by command name, from /proc. Linux keeps 15 characters of a command name,
// so a longer name matches on its first 15.
#pragma once

#include <cstddef>
#include <cstdint>

// Result codes of NVGetAllPIDsForProcessName.
enum : int {
    NV_PID_FOUND = 0,
    NV_PID_NONE = -1,
    NV_PID_BAD_ARGUMENT = -2,
    NV_PID_TABLE_FAILED = -3, // *error receives errno
    NV_PID_NO_MEMORY = -4,    // *error receives ENOMEM
    NV_PID_TOO_MANY = -5,
};

constexpr size_t NV_COMM_LEN = 15;

// Fills pids with the ids of every process named `name`; *count receives their number.
int GetAllPIDsForProcessName(const char* name, int32_t* pids, size_t arraySize, size_t* count, int* error);
// The id of the only process of that name, else -1.
int GetPIDForProcessName(const char* name);
// True when a process of that name other than this one runs. Prints what it found.
bool checkProcessIsRunning(const char* name);

// The /proc folder to read; tests point it at a fake table.
void nv_set_proc_root(const char* path);
