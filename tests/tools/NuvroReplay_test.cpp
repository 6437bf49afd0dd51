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

// Runs nuvro-replay on recording in the current per-user folder; stderr is kept apart.
ReplayRun replay_here(const std::filesystem::path& recording, const std::filesystem::path& errors)
{
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

// As above, with a fresh per-user folder.
ReplayRun replay(const std::filesystem::path& recording, const std::filesystem::path& errors)
{
    nvtest::ScopedConfigHome home;
    return replay_here(recording, errors);
}

std::string device_line()
{
    const std::string good = nvtest::read_file(std::filesystem::path(NV_TEST_DATA_DIR) / "replay_pen_stroke.jsonl");
    return good.substr(0, good.find('\n') + 1);
}

// "N/appPath" for contexts 1 ... last: each one an application of its own.
std::string app_paths(int last)
{
    std::string keys;
    for (int i = 1; i <= last; ++i)
        keys += (i > 1 ? ", " : "") + ("\"" + std::to_string(i) + "/appPath\": \"/opt/app" + std::to_string(i) + "\"");
    return keys;
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
                         ::testing::Values("replay_pen_stroke", "replay_keys_cfg", "replay_unplug_midstroke",
                                           "replay_app_context"));

TEST(NuvroReplay, MalformedLineStopsWithItsNumber)
{
    const std::string device = device_line();
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
        {"{\"t\": 0.2, \"cfg\": {\"2/appPath\": \"/usr/bin/krita\"}}",
         "line 3: 2/appPath: no context 2, the next free one is 1"},
        {"{\"t\": 0.2, \"cfg\": {" + app_paths(8) + "}}", "line 3: 8/appPath: at most 8 contexts"},
        {"{\"t\": 0.2, \"cfg\": {\"1/appPath\": \"/opt/Default\"}}", "line 3: 1/appPath: the context Default exists"},
        {"{\"t\": 0.2, \"cfg\": {\"1/appPath\": 5}}", "line 3: 1/appPath: an application path is expected"},
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

// An application added by a recording is in the user file as well as in the record; a
// refused line adds nothing to either.
TEST(NuvroReplay, AddedApplicationsReachTheUserFile)
{
    nvtest::ScopedConfigHome home;
    nvtest::TempDir tmp;
    const auto user = home.path() / "NuvroTablet" / "config_user.xml";
    nvtest::write_file(tmp.path() / "refused.jsonl",
                       device_line() + "{\"t\": 0.1, \"cfg\": {" + app_paths(2) + ", \"9/hbtns/0\": {}}}\n");
    EXPECT_EQ(replay_here(tmp.path() / "refused.jsonl", tmp.path() / "err").status, 1);
    EXPECT_EQ(nvtest::read_file(user).find("app1"), std::string::npos);

    nvtest::write_file(tmp.path() / "added.jsonl", device_line() + "{\"t\": 0.1, \"cfg\": {" + app_paths(7) + "}}\n");
    ASSERT_EQ(replay_here(tmp.path() / "added.jsonl", tmp.path() / "err").status, 0)
        << nvtest::read_file(tmp.path() / "err");
    const std::string file = nvtest::read_file(user);
    for (int i = 1; i <= 7; ++i)
        EXPECT_NE(file.find("<appPath>file:///opt/app" + std::to_string(i) + "</appPath>"), std::string::npos) << i;
}

TEST(NuvroReplay, UsageAndMissingFile)
{
    nvtest::TempDir tmp;
    const ReplayRun missing = replay(tmp.path() / "none.jsonl", tmp.path() / "err");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(nvtest::read_file(tmp.path() / "err").find("cannot open"), std::string::npos);
}
