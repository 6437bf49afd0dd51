#include "platform/sim/NVRecordingWriter.h"

#include "core/input/DisplayList.h"
#include "tools/NVReplayLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<NVReplayLine> read_back(const std::string& text)
{
    std::vector<NVReplayLine> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        NVReplayLine line;
        std::string why;
        EXPECT_TRUE(nv_parse_replay_line(l, line, why)) << l << ": " << why;
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(RecordingWriter, WritesTheInputFormatThatReplayReads)
{
    std::ostringstream out;
    NVRecordingWriter w(out);
    const std::vector<uint8_t> identity{0x4e, 0x00, 0x55, 0x00};
    w.device(0x3A7E, 19, {{201, identity}, {209, {0x50, 0x00}}});
    w.displays({{0, 0, 1920, 1080}, {1920, -200, 1280, 1024}});
    const uint8_t report[12] = {0x08, 0x80, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10, 0x01, 0x02, 0xF0, 0x10};
    w.report(0.125, report, sizeof report);
    w.notification(0.5, "QueryBatteryPower", NVPlistDict{{"blob", NVPlistData{0x00, 0xAB}}, {"n", -3}});
    w.activate(0.75, "/usr/bin/krita");
    w.unplug(2.0);

    const std::string text = out.str();
    EXPECT_EQ(text.substr(0, text.find('\n')),
              R"({"device":{"vendor":14974,"product":19,"string201":"4e005500","string209":"5000"}})");
    EXPECT_NE(text.find(R"({"t":0.125,"report":"08 80 34 12 78 56 00 10 01 02 f0 10"})"), std::string::npos);

    const auto lines = read_back(text);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].device.strings.at(201), identity);
    EXPECT_EQ(lines[0].device.product, 19);
    EXPECT_DOUBLE_EQ(lines[1].displays[1].bounds.y, -200);
    EXPECT_EQ(lines[2].bytes, std::vector<uint8_t>(report, report + 12));
    EXPECT_DOUBLE_EQ(lines[2].t, 0.125);
    EXPECT_EQ(lines[3].name, "QueryBatteryPower");
    EXPECT_EQ(nv_plist_data(lines[3].userInfo, "blob"), (NVPlistData{0x00, 0xAB}));
    EXPECT_EQ(nv_plist_int(lines[3].userInfo, "n"), -3);
    EXPECT_EQ(lines[4].appPath, "/usr/bin/krita");
    EXPECT_EQ(lines[5].kind, NVReplayLine::Kind::Unplug);
    EXPECT_DOUBLE_EQ(lines[5].t, 2.0);
}
