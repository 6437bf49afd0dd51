// Starts programs detached from the agent: their own session, no shell, no zombies, and
// standard input and output on /dev/null.
#pragma once

#include "core/events/ProcessLauncher.h"

class PosixProcessLauncher : public ProcessLauncher {
public:
    bool spawnDetached(const std::vector<std::string>& argv) override;
};
