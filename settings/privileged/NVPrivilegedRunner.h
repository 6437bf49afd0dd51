// The privileged program's work: checks every operation of its argument vector against
// the suite's fixed processes, paths and package, then ends processes, removes paths and
// removes the package. Nothing runs unless every operation is accepted.
#pragma once

#include "settings/logic/NVPrivilegedOps.h"
#include "platform/linux/ProcessList.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Exit status of the program.
enum NVPrivilegedExit : int {
    NVPX_DONE = 0,
    NVPX_FAILED = 1,       // an operation failed; the others were still carried out
    NVPX_USAGE = 2,        // no operation, an unknown word, or an operation without operand
    NVPX_BAD_PROCESS = 3,  // a process name outside the fixed list
    NVPX_BAD_PATH = 4,     // a path outside the fixed list
    NVPX_PATH_ESCAPES = 5, // a fixed path whose folder resolves elsewhere (a symbolic link)
    NVPX_BAD_PACKAGE = 6,  // a package other than the suite's own
};

// Signals to processes.
class NVProcessControl {
public:
    virtual ~NVProcessControl() = default;
    // 0 when delivered, else an errno value (ESRCH: the process is gone).
    virtual int signal(int32_t pid, int sig) = 0;
    virtual void pause(std::chrono::milliseconds d) = 0;
};

class NVPosixProcessControl final : public NVProcessControl {
public:
    int signal(int32_t pid, int sig) override;
    void pause(std::chrono::milliseconds d) override;
};

// The system's package manager.
class NVPackageManager {
public:
    virtual ~NVPackageManager() = default;
    // Removes the package with its configuration files; its exit status, or -1 when the
    // package manager could not be run (with errno's text in *why).
    virtual int purge(const std::string& package, std::string* why) = 0;
};

// dpkg, run without a shell and with a fixed environment, its output on this program's.
class NVDpkg final : public NVPackageManager {
public:
    int purge(const std::string& package, std::string* why) override;
};

struct NVPrivilegedEnv {
    // Prefix of every path acted on: empty in the shipped program, whose main() has no way
    // to set it; tests point it at a temporary folder.
    std::string root;
    const NVProcessTable* table = nullptr;
    NVProcessControl* control = nullptr;
    NVPackageManager* packages = nullptr;
    std::vector<int32_t> spared;                    // never signalled: the program and its caller
    std::chrono::milliseconds grace{3000};          // after SIGTERM, and again after SIGKILL
    std::chrono::milliseconds poll{50};
    FILE* out = stdout;
    FILE* err = stderr;
};

// args are the operations only (without the program name).
int nv_privileged_run(const std::vector<std::string>& args, const NVPrivilegedEnv& env);
