// The update helper: its idle cost from the outside (resident memory, budget 30 MB, and the
// wake-ups of all its threads over 10 s, budget none) on a private session bus, and reading a
// 1 MB update page.
#include "helper/logic/NVUpdatePage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const std::string kBin = std::string(NV_RESOURCES_DIR) + "/../bin";

// Prints "rss_kib=N wakeups=N cpu_ticks=N": wake-ups are the context switches of every
// thread, counted over the 10 s after a 2 s settling time.
const char* kIdleProbe = R"sh(
  "$1" & h=$!; sleep 2
  count() { cat /proc/$h/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }
  ticks() { awk '{print $14 + $15}' /proc/$h/stat; }
  w0=$(count); t0=$(ticks); sleep 10; w1=$(count); t1=$(ticks)
  rss=$(awk '/VmRSS/ {print $2}' /proc/$h/status)
  echo "rss_kib=$rss wakeups=$((w1 - w0)) cpu_ticks=$((t1 - t0))"
  kill $h; wait $h)sh";

void BM_HelperIdle(benchmark::State& state)
{
    if (!std::filesystem::exists(kBin + "/NuvroHelper")) {
        state.SkipWithError("NuvroHelper is not built");
        return;
    }
    const std::string script =
        std::filesystem::temp_directory_path() / ("nv-bench-helper-" + std::to_string(getpid()) + ".sh");
    if (FILE* f = std::fopen(script.c_str(), "w")) {
        std::fputs(kIdleProbe, f);
        std::fclose(f);
    }
    const std::string platform = std::getenv("DISPLAY") ? "" : "QT_QPA_PLATFORM=offscreen ";
    const std::string cmd = platform + "NUVRO_UPDATE_SERVER=http://127.0.0.1:9 dbus-run-session -- sh " + script +
                            " \"" + kBin + "/NuvroHelper\" 2>/dev/null";
    long rssKib = 0, wakeups = 0, ticks = 0;
    for (auto _ : state) {
        FILE* out = popen(cmd.c_str(), "r");
        char line[256];
        const bool read = out && std::fgets(line, sizeof line, out) &&
                          std::sscanf(line, "rss_kib=%ld wakeups=%ld cpu_ticks=%ld", &rssKib, &wakeups, &ticks) == 3;
        if (out)
            pclose(out);
        if (!read) {
            state.SkipWithError("the idle probe printed no figures");
            break;
        }
    }
    std::filesystem::remove(script);
    state.counters["rss_MiB"] = static_cast<double>(rssKib) / 1024.0;
    state.counters["wakeups_10s"] = static_cast<double>(wakeups);
    state.counters["cpu_ticks_10s"] = static_cast<double>(ticks);
}
BENCHMARK(BM_HelperIdle)->Iterations(1)->Unit(benchmark::kSecond);

void BM_UpdatePageParse(benchmark::State& state)
{
    std::string page(512 * 1024, 'x');
    page += "<a href=\"/driver/NuvroTablet_v3.3.0.deb\" target=\"_blank\">Linux</a>";
    page += std::string(512 * 1024, 'y');
    for (auto _ : state) {
        benchmark::DoNotOptimize(nv_update_link(page));
        const auto name = nv_update_package_name(page);
        benchmark::DoNotOptimize(nv_update_server_version(name.value_or(std::string())));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_UpdatePageParse)->Unit(benchmark::kMicrosecond);

} // namespace
