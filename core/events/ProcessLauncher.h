// Starts programs for key functions.
#pragma once

#include <string>
#include <vector>

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts argv[0] with argv, detached from this process, without a shell. False when
    // it could not be started.
    virtual bool spawnDetached(const std::vector<std::string>& argv) = 0;
};
