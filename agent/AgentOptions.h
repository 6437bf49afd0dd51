// The agent's command line. Arguments it does not know (Qt's own, "-runMode autoLaunched"
// from the autostart entry) are left to others.
#pragma once

#include <optional>
#include <string>

struct AgentOptions {
    bool simulate = false;
    std::string simulateModel;  // identity of the simulated model; empty: the default one
    std::string recordPath;     // --record FILE
    bool printEvents = false;
    bool foreground = false;    // --foreground: the log goes to standard error too
    // --self-test-reports N: a simulated tablet sends N pen reports, then the agent prints
    // its figures and quits.
    long selfTestReports = -1;
    // --self-test-hold: a simulated tablet puts the pen tip down and holds an express key,
    // then the agent runs on until it is told to quit.
    bool selfTestHold = false;
    // --feed-reports: the simulated tablet sends the reports read from standard input.
    bool feedReports = false;
};

// nullopt with a message in *error on a malformed option.
std::optional<AgentOptions> nv_agent_options(int argc, const char* const* argv, std::string* error);
