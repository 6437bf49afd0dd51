// Latency from a report arriving through the HID port to the uinput frame's write(), in
// the assembled agent core: USB watcher, HID layer, dispatcher, event synthesis and the
// uinput encoder writing to pipes. Median and 99th percentile are reported as counters.
#include "core/channel/NotificationCenter.h"
#include "core/config/NVConfigPaths.h"
#include "core/driver/NVDevUSB.h"
#include "core/device/NVModelTable.h"
#include "core/events/NVMacFunc.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/linux/UinputWindowSystem.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/FakeWorkspace.h"
#include "platform/sim/ManualClock.h"
#include "platform/sim/SimUsbBus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// A model with soft keys: its pen is followed inside the strip's inner area.
constexpr uint32_t kModel = 19;

class Pipe {
public:
    Pipe()
    {
        if (pipe2(fds_, O_NONBLOCK | O_CLOEXEC) != 0)
            std::abort();
    }
    ~Pipe()
    {
        close(fds_[0]);
        close(fds_[1]);
    }
    int writeEnd() const { return fds_[1]; }
    // Bytes read.
    size_t drain()
    {
        char buf[4096];
        size_t total = 0;
        for (ssize_t n; (n = read(fds_[0], buf, sizeof buf)) > 0;)
            total += static_cast<size_t>(n);
        return total;
    }

private:
    int fds_[2];
};

// The agent's core on the scripted bus with one tablet attached and a private user folder.
class Agent {
public:
    Agent()
    {
        char tmpl[] = "/tmp/nuvro-bench-XXXXXX";
        home_ = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
        nv_set_res_path(NV_RESOURCES_DIR);
        NVMacFunc::setWindowSystem(&ws_);
        NVMacFunc::setWorkspace(&workspace_);
        usb_.listen();
        device_ = bus_.attach(SimDeviceScript::forModel(*nv_model_info(kModel)));
    }
    ~Agent()
    {
        NVMacFunc::setWorkspace(nullptr);
        NVMacFunc::setWindowSystem(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(home_, ec);
        nv_set_res_path({});
    }

    void send(const std::array<uint8_t, 12>& r)
    {
        clock_.advance(0.005);
        bus_.sendReport(device_, r.data(), r.size());
    }
    size_t drain() { return pen_.drain() + pointer_.drain() + keyboard_.drain(); }

private:
    std::string home_;
    Pipe pen_, pointer_, keyboard_;
    ManualClock clock_;
    FakeDisplays displays_{{{1, {0, 0, 1920, 1080}}}};
    FakeWorkspace workspace_;
    UinputWindowSystem ws_{NVUinputFds{pen_.writeEnd(), pointer_.writeEnd(), keyboard_.writeEnd()}, displays_, clock_};
    LocalNotificationCenter center_;
    SimUsbBus bus_;
    NVDevUSB usb_{NVDevServices{bus_, center_, nullptr, displays_, clock_, ws_, {}, {}}};
    int device_ = 0;
};

std::array<uint8_t, 12> pen_report(uint8_t type, uint32_t x, uint32_t y, uint16_t p)
{
    return {0x08, type, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), uint8_t(p), uint8_t(p >> 8),
            uint8_t(x >> 16), uint8_t(y >> 16), 10, 0xF6};
}

// Hover in, touch, draw with varying pressure, lift: 64 reports around the middle.
std::vector<std::array<uint8_t, 12>> stroke()
{
    std::vector<std::array<uint8_t, 12>> s;
    for (int i = 0; i < 4; ++i)
        s.push_back(pen_report(0x80, 24000 + 10 * i, 13600, 0));
    for (int i = 0; i < 56; ++i)
        s.push_back(pen_report(0x81, 24040 + 25 * i, 13600 + 7 * i, static_cast<uint16_t>(1000 + 100 * (i % 40))));
    for (int i = 0; i < 4; ++i)
        s.push_back(pen_report(0x80, 25440, 13992 + 5 * i, 0));
    return s;
}

void BM_ReportToWrite(benchmark::State& state)
{
    Agent agent;
    const auto reports = stroke();
    std::vector<double> samples;
    samples.reserve(1 << 20);
    size_t i = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        agent.send(reports[i]);
        const auto t1 = std::chrono::steady_clock::now();
        const double s = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(s);
        if (samples.size() < samples.capacity())
            samples.push_back(s);
        if (++i == reports.size()) {
            i = 0;
            bytes += agent.drain();
        }
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) {
        state.counters["median_us"] = samples[samples.size() / 2] * 1e6;
        state.counters["p99_us"] = samples[samples.size() * 99 / 100] * 1e6;
    }
    // Proof that frames were written, not dropped on the way.
    state.counters["bytes_per_report"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReportToWrite)->UseManualTime()->Iterations(200000);

} // namespace
