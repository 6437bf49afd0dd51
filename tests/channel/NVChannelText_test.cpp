#include "core/channel/NVConfigLimits.h"
#include "core/channel/NVPlist.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

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
