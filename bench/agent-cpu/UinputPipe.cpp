// Preloaded into the agent under measurement: the three uinput devices become one FIFO
// ($NV_UINPUT_FIFO) read by another process, so the agent's real encoder writes its frames
// there without /dev/uinput. Each frame's write is timed from the stand-in library's last
// report arrival; the median and 99th percentile go to $NV_LATENCY_OUT at exit.
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

struct libevdev;
struct libevdev_uinput;

namespace {

constexpr const char* kUinputNode = "/dev/uinput";

int g_fifo = -1;
std::vector<int64_t>* g_latencies = nullptr;
int64_t (*g_arrival)() = nullptr;

int64_t now_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

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
    const char* out = std::getenv("NV_LATENCY_OUT");
    if (!out || !g_latencies || g_latencies->empty())
        return;
    std::vector<int64_t>& v = *g_latencies;
    std::sort(v.begin(), v.end());
    if (FILE* f = std::fopen(out, "w")) {
        std::fprintf(f, "frames=%zu p50_us=%.2f p99_us=%.2f\n", v.size(), v[v.size() / 2] / 1e3,
                     v[v.size() * 99 / 100] / 1e3);
        std::fclose(f);
    }
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
        g_latencies = new std::vector<int64_t>;
        g_latencies->reserve(1 << 20);
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
    const ssize_t n = real(fd, buf, count);
    if (fd == g_fifo && g_arrival && g_latencies->size() < g_latencies->capacity())
        g_latencies->push_back(now_ns() - g_arrival());
    return n;
}

} // extern "C"
