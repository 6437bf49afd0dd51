// A scripted process table that processes leave as real ones do: a signal is delivered
// at once, the process ends only after time has passed, a zombie is gone from the table,
// and the kernel keeps 15 characters of a command name.
#pragma once

#include "platform/linux/ProcessList.h"
#include "settings/privileged/NVPrivilegedRunner.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <optional>
#include <utility>
#include <vector>

namespace nvtest {

class FakeProcesses final : public NVProcessTable, public NVProcessControl {
public:
    using ms = std::chrono::milliseconds;

    struct Proc {
        int32_t pid;
        std::string comm;
        bool quitsOnTerm = true;  // ends some time after SIGTERM
        bool killable = true;     // ends some time after SIGKILL (false: stuck in the kernel)
        int refuse = 0;           // errno every signal gets (EPERM: another user's process)
        std::optional<ms> endsAt; // set once a signal made it quit
    };

    std::vector<Proc> procs;
    int listError = 0; // errno of every list()
    ms termDelay{120}; // how long an orderly shutdown takes
    ms killDelay{10};
    ms now{0};
    std::vector<std::pair<int32_t, int>> signals;

    void add(int32_t pid, std::string comm) { procs.push_back({pid, std::move(comm), true, true, 0, std::nullopt}); }
    Proc& proc(int32_t pid) { return *std::ranges::find(procs, pid, &Proc::pid); }
    bool running(int32_t pid) const
    {
        const auto it = std::ranges::find(procs, pid, &Proc::pid);
        return it != procs.end() && !(it->endsAt && *it->endsAt <= now);
    }

    int list(std::vector<NVProcessEntry>& out) const override
    {
        if (listError)
            return listError;
        for (const Proc& p : procs)
            if (running(p.pid))
                out.push_back({p.pid, p.comm.substr(0, 15)});
        return 0;
    }

    int signal(int32_t pid, int sig) override
    {
        signals.emplace_back(pid, sig);
        if (!running(pid))
            return ESRCH;
        Proc& p = proc(pid);
        if (p.refuse)
            return p.refuse;
        const ms delay = sig == SIGKILL ? (p.killable ? killDelay : ms::max()) : p.quitsOnTerm ? termDelay : ms::max();
        if (delay != ms::max() && (!p.endsAt || now + delay < *p.endsAt))
            p.endsAt = now + delay;
        return 0;
    }

    void pause(std::chrono::milliseconds d) override { now += d; }
};

} // namespace nvtest
