// Preloaded into the agent under measurement: the three uinput devices become one FIFO
// ($NV_UINPUT_FIFO) read by another process, so the agent's real encoder writes its frames
// there without /dev/uinput. Each frame's write is timed from the stand-in library's last
// report arrival; the medians and 99th percentiles go to $NV_LATENCY_OUT at exit.
#include "Latency.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>

struct libevdev;
struct libevdev_uinput;

namespace {

constexpr const char* kUinputNode = "/dev/uinput";

int g_fifo = -1;
LatencyLog* g_latencies = nullptr;
int64_t (*g_arrival)() = nullptr;

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The trust check opens the node and closes it again: any writable descriptor answers it.
int open_node(const char* path, int flags)
{
    if (std::strcmp(path, kUinputNode) != 0)
        return -2;
    return next<int (*)(const char*, int, ...)>("open")("/dev/null", flags);
}

__attribute__((destructor)) void write_latencies()
{
    if (g_latencies)
        g_latencies->write(std::getenv("NV_LATENCY_OUT"));
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    if (const int fd = open_node(path, flags); fd != -2)
        return fd;
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = va_arg(ap, mode_t);
    va_end(ap);
    return next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    if (const int fd = open_node(path, flags); fd != -2)
        return fd;
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = va_arg(ap, mode_t);
    va_end(ap);
    return next<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int libevdev_uinput_create_from_device(const libevdev*, int, libevdev_uinput** uinput_dev)
{
    if (g_fifo < 0) {
        const char* path = std::getenv("NV_UINPUT_FIFO");
        g_fifo = path ? next<int (*)(const char*, int, ...)>("open")(path, O_WRONLY | O_CLOEXEC) : -1;
        if (g_fifo < 0)
            return -1;
        g_latencies = new LatencyLog;
        g_arrival = reinterpret_cast<int64_t (*)()>(dlsym(RTLD_DEFAULT, "nv_standin_arrival_ns"));
    }
    *uinput_dev = reinterpret_cast<libevdev_uinput*>(&g_fifo);
    return 0;
}

int libevdev_uinput_get_fd(const libevdev_uinput*)
{
    return g_fifo;
}

const char* libevdev_uinput_get_devnode(libevdev_uinput*)
{
    return "/dev/input/event-bench";
}

const char* libevdev_uinput_get_syspath(libevdev_uinput*)
{
    return "/sys/devices/virtual/input/bench";
}

void libevdev_uinput_destroy(libevdev_uinput*) {}

ssize_t write(int fd, const void* buf, size_t count)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd != g_fifo || !g_arrival)
        return real(fd, buf, count);
    const int64_t called = nv_now_ns();
    const ssize_t n = real(fd, buf, count);
    g_latencies->add(g_arrival(), called, nv_now_ns());
    return n;
}

} // extern "C"
