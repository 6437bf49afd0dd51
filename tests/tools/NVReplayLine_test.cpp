#include "tools/NVReplayLine.h"

#include <gtest/gtest.h>

namespace {

using Kind = NVReplayLine::Kind;

NVReplayLine parse(const std::string& text)
{
    NVReplayLine line;
    std::string why;
    EXPECT_TRUE(nv_parse_replay_line(text, line, why)) << why;
    return line;
}

} // namespace

TEST(ReplayLine, EachKindReadsItsFields)
{
    NVReplayLine d = parse(R"({"device": {"vendor": 14974, "product": 19, "string201": "4e00", "string209": "5000"}})");
    EXPECT_EQ(d.kind, Kind::Device);
    EXPECT_FALSE(d.hasTime);
    EXPECT_EQ(d.device.vendor, 0x3A7E);
    EXPECT_EQ(d.device.product, 19);
    EXPECT_EQ(d.device.strings.at(201), (std::vector<uint8_t>{0x4e, 0x00}));
    EXPECT_EQ(d.device.strings.at(209), (std::vector<uint8_t>{0x50, 0x00}));
    EXPECT_FALSE(d.device.strings.contains(200)); // absent: the request fails

    NVReplayLine s = parse(R"({"displays": [[0, 0, 1920, 1080], [1920, 0, 1280.5, 1024]]})");
    ASSERT_EQ(s.displays.size(), 2u);
    EXPECT_EQ(s.displays[1].id, 2u);
    EXPECT_DOUBLE_EQ(s.displays[1].bounds.x, 1920);
    EXPECT_DOUBLE_EQ(s.displays[1].bounds.width, 1280.5);

    NVReplayLine r = parse(R"({"t": 0.25, "report": "08 80 34 12 78 56 00 10 01 02 F0 10"})");
    EXPECT_EQ(r.kind, Kind::Report);
    EXPECT_DOUBLE_EQ(r.t, 0.25);
    EXPECT_EQ(r.bytes, (std::vector<uint8_t>{0x08, 0x80, 0x34, 0x12, 0x78, 0x56, 0x00, 0x10, 0x01, 0x02, 0xF0, 0x10}));
    EXPECT_EQ(parse(R"({"t": 0, "report": "0880"})").bytes, (std::vector<uint8_t>{0x08, 0x80}));

    NVReplayLine n = parse(
        R"({"t": 1, "notification": {"name": "x", "userInfo": {"a": 1, "b": "s", "c": ["p", "q"], "d": {"data": "00ff"}, "e": {"f": 2}}}})");
    EXPECT_EQ(n.name, "x");
    EXPECT_EQ(nv_plist_int(n.userInfo, "a"), 1);
    EXPECT_EQ(nv_plist_string(n.userInfo, "b"), "s");
    EXPECT_EQ(nv_plist_strings(n.userInfo, "c"), (NVPlistStrings{"p", "q"}));
    EXPECT_EQ(nv_plist_data(n.userInfo, "d"), (NVPlistData{0x00, 0xff}));
    EXPECT_EQ(nv_plist_int(nv_plist_dict(n.userInfo, "e"), "f"), 2);

    EXPECT_EQ(parse(R"({"t": 2, "activate": "/usr/bin/krita"})").appPath, "/usr/bin/krita");
    EXPECT_EQ(parse(R"({"t": 2, "unplug": true})").kind, Kind::Unplug);
    EXPECT_EQ(parse(R"({"t": 2, "cfg": {"pressFactor": 2}})").cfg["pressFactor"], 2);
}

TEST(ReplayLine, MalformedLinesAreRefusedWithTheReason)
{
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"", "not JSON"},
        {"[1]", "not a JSON object"},
        {R"({"t": 1})", "no event"},
        {R"({"t": 1, "report": "08", "unplug": true})", "more than one event"},
        {R"({"t": 1, "beep": 1})", "unknown key \"beep\""},
        {R"({"report": "08"})", "\"t\" is missing"},
        {R"({"t": -1, "report": "08"})", "\"t\" must be"},
        {R"({"t": "0", "report": "08"})", "\"t\" must be"},
        {R"({"t": 1, "report": "0 8"})", "hex"},
        {R"({"t": 1, "report": "080"})", "hex"},
        {R"({"t": 1, "report": "zz"})", "hex"},
        {R"({"t": 1, "report": ""})", "1 to 64 bytes"},
        {R"({"t": 1, "report": 8})", "hex"},
        {R"({"device": {"product": 1}})", "\"vendor\""},
        {R"({"device": {"vendor": 70000, "product": 1}})", "16-bit"},
        {R"({"device": {"vendor": -1, "product": 1}})", "16-bit"},
        {R"({"device": {"vendor": 1, "product": 1, "string199": ""}})", "unknown key"},
        {R"({"device": {"vendor": 1, "product": 1, "string201": "4"}})", "hex"},
        {R"({"displays": []})", "non-empty"},
        {R"({"displays": [[0, 0, 0, 10]]})", "positive"},
        {R"({"displays": [[0, 0, 10]]})", "[x, y, width, height]"},
        {R"({"t": 1, "notification": {"userInfo": {}}})", "\"name\""},
        {R"({"t": 1, "notification": {"name": "x", "userInfo": {"a": 1.5}}})", "a: not a property-list value"},
        {R"({"t": 1, "notification": {"name": "x", "userInfo": {"a": 4294967296}}})", "32-bit"},
        {R"({"t": 1, "notification": {"name": "x", "userInfo": {"a": [1]}}})", "strings only"},
        {R"({"t": 1, "activate": 3})", "application path"},
        {R"({"t": 1, "unplug": false})", "must be true"},
        {R"({"t": 1, "cfg": []})", "cfg must be an object"},
    };
    for (const auto& c : cases) {
        NVReplayLine line;
        std::string why;
        EXPECT_FALSE(nv_parse_replay_line(c.text, line, why)) << c.text;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.text << " gave: " << why;
    }
}

TEST(ReplayLine, DeeplyNestedUserInfoIsRefused)
{
    std::string nested = "1";
    for (int i = 0; i < 40; ++i)
        nested = "{\"k\": " + nested + "}";
    NVReplayLine line;
    std::string why;
    EXPECT_FALSE(nv_parse_replay_line(R"({"t": 1, "notification": {"name": "x", "userInfo": )" + nested + "}}",
                                      line, why));
    EXPECT_NE(why.find("nested too deeply"), std::string::npos) << why;
}
