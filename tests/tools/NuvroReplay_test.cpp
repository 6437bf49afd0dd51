// The replay program end to end: recordings checked into tests/data give exactly the
// output checked in beside them; a malformed line stops it with the line's number.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct ReplayRun {
    int status;
    std::string out;
};

// Runs nuvro-replay on recording with a fresh per-user folder; stderr is kept apart.
ReplayRun replay(const std::filesystem::path& recording, const std::filesystem::path& errors)
{
    nvtest::ScopedConfigHome home;
    const std::string cmd = std::string("'") + NV_REPLAY_EXE + "' '" + recording.string() + "' --resources '" +
                            nvtest::resources_dir().string() + "' 2>'" + errors.string() + "'";
    ReplayRun run{-1, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return run;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        run.out.append(buf, n);
    const int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class Golden : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(Golden, OutputIsExactlyTheCheckedInOne)
{
    const auto data = std::filesystem::path(NV_TEST_DATA_DIR);
    nvtest::TempDir tmp;
    const ReplayRun run = replay(data / (std::string(GetParam()) + ".jsonl"), tmp.path() / "err");
    EXPECT_EQ(run.status, 0) << nvtest::read_file(tmp.path() / "err");
    EXPECT_EQ(run.out, nvtest::read_file(data / (std::string(GetParam()) + ".expected")));
}

INSTANTIATE_TEST_SUITE_P(Recordings, Golden,
                         ::testing::Values("replay_pen_stroke", "replay_keys_cfg", "replay_unplug_midstroke"));

TEST(NuvroReplay, MalformedLineStopsWithItsNumber)
{
    const auto data = std::filesystem::path(NV_TEST_DATA_DIR);
    const std::string good = nvtest::read_file(data / "replay_pen_stroke.jsonl");
    const std::string device = good.substr(0, good.find('\n') + 1);
    const struct {
        std::string line;
        std::string message;
    } cases[] = {
        {"{\"t\": 0.1, \"report\": \"08 8\"}", "line 3: report must be hex bytes"},
        {"not json", "line 3: not JSON"},
        {"{\"t\": 0.0005, \"report\": \"08 80\"}", "line 3: \"t\" goes back in time"},
        {"{\"t\": 0.2, \"cfg\": {\"noSuchSetting\": 1}}", "line 3: no setting \"noSuchSetting\""},
        {"{\"t\": 0.2, \"cfg\": {\"0/hbtns/15\": {\"ekType\": 4}}}", "line 3: no key"},
        {device.substr(0, device.size() - 1), "line 3: a device is already plugged in"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        nvtest::TempDir tmp;
        nvtest::write_file(tmp.path() / "r.jsonl",
                           device + "{\"t\": 0.001, \"report\": \"08 80 00 00 00 00 00 00 00 00 00 00\"}\n" + c.line +
                               "\n{\"t\": 0.3, \"unplug\": true}\n");
        const ReplayRun run = replay(tmp.path() / "r.jsonl", tmp.path() / "err");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(nvtest::read_file(tmp.path() / "err").find(c.message), std::string::npos)
            << nvtest::read_file(tmp.path() / "err");
        EXPECT_EQ(run.out.find("\"devType\":0"), std::string::npos); // stopped before the unplug
    }
}

TEST(NuvroReplay, UsageAndMissingFile)
{
    nvtest::TempDir tmp;
    const ReplayRun missing = replay(tmp.path() / "none.jsonl", tmp.path() / "err");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(nvtest::read_file(tmp.path() / "err").find("cannot open"), std::string::npos);
}
