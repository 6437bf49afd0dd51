// An X server of the test's own, for the adapters that talk to X11, and the process's CPU
// time, for tests that must not spin once the server is gone.
#pragma once

#include "tests/qt/QtTestSupport.h"

#include <QEventLoop>
#include <QTimer>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace nvtest {

inline bool on_path(const char* program)
{
    const std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// -noreset keeps monitors set by short-lived clients. A display number away from the low
// ones that shared test runs take.
class PrivateXvfb {
public:
    PrivateXvfb()
    {
        const int first = 300 + getpid() % 400;
        for (int n = first; n < first + 10 && display_.empty(); ++n)
            if (access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) != 0)
                start(n);
    }
    ~PrivateXvfb() { stop(); }
    PrivateXvfb(const PrivateXvfb&) = delete;
    PrivateXvfb& operator=(const PrivateXvfb&) = delete;

    // Empty when no server could be started.
    const std::string& display() const { return display_; }

    bool xrandr(const std::string& args) const
    {
        const std::string cmd = "DISPLAY=" + display_ + " xrandr " + args + " >/dev/null 2>&1";
        return std::system(cmd.c_str()) == 0;
    }

    // Ends the server and waits for it: its clients find their connections hung up.
    void stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    // Xvfb writes the display number to the pipe once it accepts connections.
    void start(int n)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string display = ":" + std::to_string(n), fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "4000x1200x24",
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The number and its newline may come in separate writes; closing the pipe
        // between them would make the server give up.
        std::string line;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(fds[0]);
        if (!line.empty()) {
            display_ = ":" + std::to_string(n);
            return;
        }
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    pid_t pid_ = -1;
    std::string display_;
};

// User and system CPU seconds this process spends while the Qt event loop runs for ms.
inline double cpu_seconds_of_event_loop(int ms)
{
    auto cpu = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    qt_app();
    const double before = cpu();
    // A loop that sleeps while nothing is ready, as the agent's does.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return cpu() - before;
}

} // namespace nvtest
