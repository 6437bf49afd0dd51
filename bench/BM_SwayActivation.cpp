// A window focused on Sway until the agent's context follows: the compositor's focus event
// is written to the adapter's socket, read on the event loop, its process's program
// looked up and matched against the contexts. Budget: 5 ms from the compositor's event.
#if __has_include(<QtCore/QSocketNotifier>)

#include "bench/BenchApp.h"
#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/linux/SwayIpc.h"
#include "platform/linux/SwayWorkspace.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// Sway's side of the socket: answers the adapter's subscription and its tree, then keeps
// its end of the connection to send the events.
class FakeSway {
public:
    explicit FakeSway(const std::string& path) : path_(path)
    {
        ::unlink(path.c_str());
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 1);
        server_ = std::thread([this] { answer(); });
    }
    ~FakeSway()
    {
        ::close(conn_);
        ::close(listener_);
        ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }
    // Once the adapter has opened.
    void joined() { server_.join(); }
    void send(const std::string& message) { (void)!::send(conn_, message.data(), message.size(), MSG_NOSIGNAL); }

private:
    void answer()
    {
        conn_ = ::accept(listener_, nullptr, nullptr);
        for (const char* reply : {R"({"success": true})", R"({"type": "root", "nodes": []})"}) {
            char header[14];
            if (::recv(conn_, header, sizeof header, MSG_WAITALL) != sizeof header)
                return;
            uint32_t length = 0;
            uint32_t type = 0;
            std::memcpy(&length, header + 6, 4);
            std::memcpy(&type, header + 10, 4);
            std::string payload(length, '\0');
            if (length && ::recv(conn_, payload.data(), length, MSG_WAITALL) != ssize_t(length))
                return;
            send(nv_sway_encode(type, reply));
        }
    }

    std::string path_;
    int listener_ = -1;
    int conn_ = -1;
    std::thread server_;
};

std::string focus_event(int id, pid_t pid)
{
    return nv_sway_encode(NV_SWAY_EVENT_WINDOW, R"({"change": "focus", "container": {"id": )" + std::to_string(id) +
                                                    R"(, "pid": )" + std::to_string(pid) + R"(, "app_id": "x"}})");
}

void BM_SwayFocusToContextSwitch(benchmark::State& state)
{
    nv_bench_app();
    FakeSway sway((std::filesystem::temp_directory_path() / ("nv-bench-sway-" + std::to_string(getpid()))).string());
    auto ws = SwayWorkspace::open(sway.path());
    sway.joined();
    if (!ws) {
        state.SkipWithError("the adapter did not open");
        return;
    }
    // Two programs: this one, which has a context of its own, and its parent.
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    std::strcpy(g_gi.cfg.contexts[1].appPath, std::filesystem::read_symlink("/proc/self/exe").c_str());
    LocalNotificationCenter center, workspaceCenter;
    nv_forward_activations(*ws, workspaceCenter);
    NVNotificationDriverPeer peer(nullptr, center, &workspaceCenter);
    const std::string events[] = {focus_event(7, getpid()), focus_event(8, getppid())};
    int next = 0;
    for (auto _ : state) {
        sway.send(events[next]);
        const int want = next == 0 ? 1 : 0;
        while (currentAppIndex_kernel != want)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        next = 1 - next;
    }
}
BENCHMARK(BM_SwayFocusToContextSwitch)->Unit(benchmark::kMicrosecond);

} // namespace

#endif
