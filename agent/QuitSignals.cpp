#include "agent/QuitSignals.h"

#include "core/log/NVLog.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

volatile sig_atomic_t g_writeFd = -1;

void on_signal(int signal)
{
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = write(g_writeFd, &byte, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals()
{
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        nv_log("signals cannot be watched: %s", std::strerror(errno));
        return;
    }
    g_writeFd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [fd = pipe_[0]] {
        char bytes[16];
        while (read(fd, bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action{};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    notifier_.reset();
    g_writeFd = -1;
    for (int fd : pipe_)
        if (fd >= 0)
            close(fd);
}
