// The agent program from the outside: the time from starting it to its USB watcher armed
// with a tablet attached (budget 150 ms), and its resident memory after 10 000 reports
// of a simulated tablet (budget 40 MB). Each iteration starts one agent with a private
// configuration folder.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct AgentRun {
    bool ok = false;
    double armedWallMs = 0;   // start of the process to its "armed" line, seen from here
    double armedInsideMs = 0; // the agent's own figure, from its main()
    double reportsMs = 0;
    long rssKib = -1;
    std::string error;
};

AgentRun run_agent(const std::string& exe, long reports)
{
    AgentRun r;
    const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                       ("nv-bench-agent-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    const std::string xdg = "XDG_CONFIG_HOME=" + home.string();
    std::vector<std::string> envs = {xdg, "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            envs.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : envs)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    std::vector<std::string> args = {exe, "--simulate=NUVRO_P7B0", "--print-events", "--self-test-reports",
                                     std::to_string(reports)};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) {
        r.error = "pipe";
        return r;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        r.error = "cannot start " + exe;
        return r;
    }

    FILE* in = fdopen(out[0], "r");
    char line[4096];
    bool armed = false;
    while (std::fgets(line, sizeof line, in)) {
        if (!armed && std::sscanf(line, "armed_ms=%lf", &r.armedInsideMs) == 1) {
            armed = true;
            r.armedWallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        } else if (long n = 0; std::sscanf(line, "reports=%ld reports_ms=%lf rss_kib=%ld", &n, &r.reportsMs,
                                           &r.rssKib) == 3) {
            r.ok = armed;
        } else if (std::strstr(line, "Other NuvroAgent running")) {
            r.error = "another NuvroAgent runs";
        }
    }
    std::fclose(in);
    int status = 0;
    waitpid(pid, &status, 0);
    std::filesystem::remove_all(home);
    if (!r.ok && r.error.empty())
        r.error = "the agent gave no figures";
    return r;
}

void BM_AgentStartup(benchmark::State& state)
{
    const std::string exe = std::string(NV_RESOURCES_DIR) + "/../bin/NuvroAgent";
    if (access(exe.c_str(), X_OK) != 0) {
        state.SkipWithError("NuvroAgent is not built");
        return;
    }
    const long reports = state.range(0);
    double armedWall = 0, armedInside = 0, reportsMs = 0;
    long rss = 0;
    for (auto _ : state) {
        const AgentRun r = run_agent(exe, reports);
        if (!r.ok) {
            state.SkipWithError(r.error.c_str());
            return;
        }
        state.SetIterationTime(r.armedWallMs / 1e3);
        armedWall += r.armedWallMs;
        armedInside += r.armedInsideMs;
        reportsMs += r.reportsMs;
        rss = std::max(rss, r.rssKib);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["armed_ms"] = armedWall / n;
    state.counters["armed_in_main_ms"] = armedInside / n;
    state.counters["reports_ms"] = reportsMs / n;
    state.counters["rss_MB"] = static_cast<double>(rss) / 1024.0;
}

} // namespace

BENCHMARK(BM_AgentStartup)->Arg(10000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
