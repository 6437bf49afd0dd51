#include "core/channel/NVConfigLimits.h"
#include "core/channel/NVPlist.h"
#include "core/channel/NVText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ChannelText, PercentDecodingRefusesBrokenEscapesAndNonText)
{
    std::string out = "kept";
    EXPECT_TRUE(nv_percent_decode("a%20b%2fc%2F", out));
    EXPECT_EQ(out, "a b/c/");
    EXPECT_TRUE(nv_percent_decode("%e4%b8%ad", out));
    EXPECT_EQ(out, "\xe4\xb8\xad");
    for (const char* bad : {"%", "50%", "%2", "%g0", "%ff", "%c0%af", "%ed%a0%80", "%f4%90%80%80"}) {
        out = "kept";
        EXPECT_FALSE(nv_percent_decode(bad, out)) << bad;
        EXPECT_EQ(out, "kept");
    }
}

TEST(ChannelText, BufferReadsStopAtTheEndOfAnUnterminatedBuffer)
{
    char buf[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(nv_buffer_text(buf), "abcd");
    nv_copy_to_buffer(buf, "xyz123");
    EXPECT_EQ(std::string(buf), "xyz");
    nv_copy_to_buffer(buf, "q");
    EXPECT_EQ(buf[2], 0);
    EXPECT_EQ(nv_replace_all("%20a%20%20", "%20", " "), " a  ");
}

TEST(ChannelText, DescriptionOfADictionaryForTheLog)
{
    const NVPlistDict d{{"b", 2}, {"a", "x y"}, {"c", NVPlistStrings{"A|B", ""}}, {"d", NVPlistData(5)}};
    EXPECT_EQ(nv_plist_describe(d), "{\n    a = \"x y\";\n    b = 2;\n    c = (\n        \"A|B\",\n        \"\"\n    );\n"
                                    "    d = {length = 5};\n}");
}

TEST(ConfigLimits, KeyWithoutSetsAcceptsOnlyIndexZero)
{
    auto cfg = std::make_unique<NVConfig>();
    std::string why;
    EXPECT_TRUE(nv_config_within_limits(*cfg, why));
    cfg->contexts[0].mekeys[0].muxFuncNum = 4;
    cfg->contexts[0].mekeys[0].index = 3;
    cfg->contexts[0].mekeys[0].num = 16;
    cfg->contexts[0].mekeyNum = 2;
    EXPECT_TRUE(nv_config_within_limits(*cfg, why));
    cfg->contexts[4].mekeys[0].index = 1;
    EXPECT_FALSE(nv_config_within_limits(*cfg, why));
    EXPECT_EQ(why, "context 4: multi-function key index out of range");
}

} // namespace
