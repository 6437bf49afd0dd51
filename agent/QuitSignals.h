// SIGTERM (logout) and SIGINT end the agent as a quit does, through the one orderly
// shutdown on the main loop: the handler only writes a byte to a pipe, and the loop reads
// it and quits.
#pragma once

#include <memory>

class QSocketNotifier;

class QuitSignals {
public:
    // Installs the handlers; needs a QCoreApplication. One per process.
    QuitSignals();
    // Puts the default handlers back.
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};
