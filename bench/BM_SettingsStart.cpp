// The settings application from the outside, offscreen, on a private session bus with a
// simulated agent: process start to the main window shown with the tablet's configuration
// loaded (budget 400 ms), the slowest tab switch including its paint (30 ms), and the
// resident memory with every tab opened (90 MB).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const std::string kBin = std::string(NV_RESOURCES_DIR) + "/../bin";

void BM_SettingsStartup(benchmark::State& state)
{
    if (!std::filesystem::exists(kBin + "/NuvroTablet")) {
        state.SkipWithError("NuvroTablet is not built");
        return;
    }
    const std::string home = std::filesystem::temp_directory_path() / ("nv-bench-ui-" + std::to_string(getpid()));
    // One bus and one agent for all runs; every run starts a new settings application.
    const std::string cmd = "XDG_CONFIG_HOME=" + home + " QT_QPA_PLATFORM=offscreen dbus-run-session -- sh -c '\"" +
                            kBin + "/NuvroAgent\" --simulate --print-events >/dev/null 2>&1 & a=$!; sleep 1; "
                            "for i in $(seq " + std::to_string(state.max_iterations) + "); do \"" + kBin +
                            "/NuvroTablet\" --startup-probe 2>/dev/null; done; kill $a; wait $a' 2>/dev/null";
    FILE* out = popen(cmd.c_str(), "r");
    double shownMs = 0, switchMs = 0;
    long rssKib = 0;
    char line[256];
    for (auto _ : state) {
        double ms = 0, sw = 0;
        long rss = 0;
        if (!out || !std::fgets(line, sizeof line, out) ||
            std::sscanf(line, "shown_ms=%lf tab_switch_ms=%lf rss_kib=%ld", &ms, &sw, &rss) != 3) {
            state.SkipWithError("the settings application printed no figures");
            break;
        }
        state.SetIterationTime(ms / 1e3);
        shownMs = std::max(shownMs, ms);
        switchMs = std::max(switchMs, sw);
        rssKib = std::max(rssKib, rss);
    }
    if (out)
        pclose(out);
    std::filesystem::remove_all(home);
    state.counters["shown_ms_max"] = shownMs;
    state.counters["tab_switch_ms_max"] = switchMs;
    state.counters["rss_MiB_max"] = static_cast<double>(rssKib) / 1024.0;
}
BENCHMARK(BM_SettingsStartup)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
