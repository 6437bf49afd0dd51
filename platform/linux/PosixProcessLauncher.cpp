#include "platform/linux/PosixProcessLauncher.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/log/NVLog.h"

bool PosixProcessLauncher::spawnDetached(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv[0].empty())
        return false;
    // Everything the children need is prepared before fork: after it only
    // async-signal-safe calls are allowed.
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // The grandchild reports an exec failure through this close-on-exec pipe.
    int status[2];
    if (pipe2(status, O_CLOEXEC) != 0)
        return false;

    const pid_t child = fork();
    if (child < 0) {
        close(status[0]);
        close(status[1]);
        return false;
    }
    if (child == 0) {
        close(status[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            // A detached program keeps none of its starter's terminal or pipes: a reader of
            // the starter's output (a terminal, a log collector, a test runner) would otherwise
            // wait for the end of a program that runs for the whole session.
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, STDIN_FILENO);
                dup2(null, STDOUT_FILENO);
                dup2(null, STDERR_FILENO);
                if (null > STDERR_FILENO)
                    close(null);
            }
            execvp(args[0], args.data());
            const int err = errno;
            (void)!write(status[1], &err, sizeof err);
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    close(status[1]);
    int childStatus = 0;
    while (waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    do {
        n = read(status[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    close(status[0]);
    if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) {
        nv_log("spawn: cannot fork for %s", argv[0].c_str());
        return false;
    }
    if (n == static_cast<ssize_t>(sizeof err)) {
        nv_log("spawn: cannot run %s: %s", argv[0].c_str(), strerror(err));
        return false;
    }
    return true;
}
