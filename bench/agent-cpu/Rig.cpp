// The processes around the agent under measurement:
//   feed SECONDS SOCKET...   sends one pen report a millisecond to every socket, on an
//                            absolute schedule, the sockets' turns spread over the
//                            millisecond; prints how many it sent
//   read FIFO...             counts the uinput frames arriving on each FIFO until SIGTERM
//   floor SOCKET FIFO OUT    the smallest consumer: poll, recv, write one frame, until
//                            SIGTERM; then its arrival-to-write latency goes to OUT, timed
//                            as the agent's is (from the recv's return)
#include "Latency.h"

#include <linux/input.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>
#include <fcntl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr long kPeriodNs = 1000000;


sockaddr_un address(const char* path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path, sizeof addr.sun_path - 1);
    return addr;
}

// A hovering pen moving along a line and back, so every report changes the position.
void pen_report(uint8_t (&r)[12], long i)
{
    const uint32_t x = 10000 + 40 * static_cast<uint32_t>(i % 500);
    const uint32_t y = 12000 + 25 * static_cast<uint32_t>(i % 500);
    const uint8_t bytes[12] = {0x08, 0x80, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), 0, 0,
                               uint8_t(x >> 16), uint8_t(y >> 16), 10, uint8_t(-12)};
    std::memcpy(r, bytes, sizeof r);
}

timespec at(int64_t ns)
{
    return {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

int feed(double seconds, const std::vector<std::string>& sockets)
{
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    std::vector<sockaddr_un> targets;
    for (const auto& s : sockets)
        targets.push_back(address(s.c_str()));
    const long reports = static_cast<long>(seconds * 1e9 / kPeriodNs);
    // The consumers' reports are spread over the period, so that on a shared core none
    // preempts another while it handles its report.
    const int64_t stagger = kPeriodNs / static_cast<int64_t>(targets.size());
    const int64_t start = nv_now_ns() + kPeriodNs;
    long sent = 0;
    for (long i = 0; i < reports; ++i) {
        uint8_t r[12];
        pen_report(r, i);
        for (size_t k = 0; k < targets.size(); ++k) {
            const timespec due = at(start + i * kPeriodNs + static_cast<int64_t>(k) * stagger);
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
            if (sendto(fd, r, sizeof r, 0, reinterpret_cast<const sockaddr*>(&targets[k]), sizeof targets[k]) ==
                sizeof r)
                ++sent;
        }
    }
    std::printf("sent=%ld\n", sent / static_cast<long>(targets.size()));
    return 0;
}

volatile sig_atomic_t g_stop = 0;

int read_frames(const std::vector<std::string>& fifos)
{
    signal(SIGTERM, [](int) { g_stop = 1; });
    std::vector<pollfd> fds;
    // Read and write, so the FIFO never reports its end between writers.
    for (const auto& f : fifos)
        fds.push_back({open(f.c_str(), O_RDWR | O_CLOEXEC), POLLIN, 0});
    std::vector<long> frames(fifos.size(), 0);
    std::vector<char> buf(1 << 16);
    while (!g_stop) {
        if (poll(fds.data(), fds.size(), 200) <= 0)
            continue;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            const ssize_t n = read(fds[i].fd, buf.data(), buf.size());
            for (ssize_t off = 0; off + ssize_t(sizeof(input_event)) <= n; off += sizeof(input_event)) {
                input_event ev;
                std::memcpy(&ev, buf.data() + off, sizeof ev);
                if (ev.type == EV_SYN && ev.code == SYN_REPORT)
                    ++frames[i];
            }
        }
    }
    for (size_t i = 0; i < fifos.size(); ++i)
        std::printf("%s frames=%ld\n", fifos[i].c_str(), frames[i]);
    return 0;
}

int floor_loop(const char* socketPath, const char* fifo, const char* latencyOut)
{
    // SIGTERM is let in only while waiting, so it cannot slip in before the wait.
    signal(SIGTERM, [](int) { g_stop = 1; });
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigset_t waiting;
    sigprocmask(SIG_BLOCK, &term, &waiting);
    const int in = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_un addr = address(socketPath);
    unlink(socketPath);
    if (bind(in, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        return 1;
    const int out = open(fifo, O_WRONLY | O_CLOEXEC);
    input_event frame[3]{};
    frame[0].type = EV_ABS;
    frame[0].code = ABS_X;
    frame[1].type = EV_ABS;
    frame[1].code = ABS_Y;
    frame[2].type = EV_SYN;
    frame[2].code = SYN_REPORT;
    LatencyLog latencies;
    while (!g_stop) {
        pollfd p{in, POLLIN, 0};
        if (ppoll(&p, 1, nullptr, &waiting) <= 0)
            continue;
        uint8_t r[64];
        if (recv(in, r, sizeof r, 0) < 12)
            continue;
        const int64_t arrival = nv_now_ns();
        frame[0].value = r[2] | r[3] << 8 | r[8] << 16;
        frame[1].value = r[4] | r[5] << 8 | r[9] << 16;
        const int64_t called = nv_now_ns();
        (void)!write(out, frame, sizeof frame);
        latencies.add(arrival, called, nv_now_ns());
    }
    latencies.write(latencyOut);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "feed" && argc > 3)
        return feed(std::atof(argv[2]), std::vector<std::string>(argv + 3, argv + argc));
    if (mode == "read" && argc > 2)
        return read_frames(std::vector<std::string>(argv + 2, argv + argc));
    if (mode == "floor" && argc == 5)
        return floor_loop(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: nv-agent-cpu-rig feed SECONDS SOCKET... | read FIFO... | floor SOCKET FIFO OUT\n");
    return 2;
}
