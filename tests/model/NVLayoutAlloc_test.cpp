#include "core/model/NVLayoutAlloc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<NVConfig> config_with_mekeys(uint8_t mekeyNum, uint8_t num0, uint8_t num1)
{
    auto cfg = std::make_unique<NVConfig>();
    std::memset(cfg.get(), 0, sizeof(NVConfig));
    cfg->contexts[0].mekeyNum = mekeyNum;
    cfg->contexts[0].mekeys[0].num = num0;
    cfg->contexts[0].mekeys[1].num = num1;
    return cfg;
}

bool is_zero(const void* p, size_t n)
{
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (b[i])
            return false;
    return true;
}

} // namespace

TEST(TabletLayoutAlloc, AllocatesKeysAndNameTablesFromContextZero)
{
    auto cfg = config_with_mekeys(2, 13, 4);
    NVLayoutTablet layout{};
    realloc_NVTabletLayout(20, cfg.get(), &layout);
    ASSERT_NE(layout.ekLayouts, nullptr);
    ASSERT_NE(layout.mekeyNames, nullptr);
    EXPECT_EQ(layout.mekeyNames[0].num, 13u);
    EXPECT_EQ(layout.mekeyNames[1].num, 4u);
    EXPECT_TRUE(is_zero(layout.ekLayouts, 20 * sizeof(NVLayoutEkey)));
    for (uint32_t j = 0; j < 13; ++j) {
        ASSERT_NE(layout.mekeyNames[0].names[j], nullptr);
        EXPECT_TRUE(is_zero(layout.mekeyNames[0].names[j], NV_STR_MAX));
    }
    free_NVTabletLayout(&layout);
    EXPECT_TRUE(is_zero(&layout, sizeof layout));
}

TEST(TabletLayoutAlloc, FreeingFollowsWhatWasAllocatedNotTheFileCounts)
{
    auto cfg = config_with_mekeys(1, 2, 0);
    NVLayoutTablet layout{};
    realloc_NVTabletLayout(4, cfg.get(), &layout);
    // A layout file that claims more multi-function keys than the configuration.
    layout.mekeyNum = 2;
    layout.hbtnNum = 40;
    free_NVTabletLayout(&layout); // ASan reports any walk past the one name table
    EXPECT_TRUE(is_zero(&layout, sizeof layout));
}

TEST(TabletLayoutAlloc, ReallocFreesFirstAndZeroAllocatesNothing)
{
    auto cfg = config_with_mekeys(2, 16, 16);
    NVLayoutTablet layout{};
    realloc_NVTabletLayout(8, cfg.get(), &layout);
    realloc_NVTabletLayout(3, cfg.get(), &layout); // the first allocation must not leak
    EXPECT_NE(layout.ekLayouts, nullptr);
    realloc_NVTabletLayout(0, cfg.get(), &layout);
    EXPECT_TRUE(is_zero(&layout, sizeof layout));
}

TEST(TabletLayoutAlloc, CountsBeyondTheRecordAreCapped)
{
    auto cfg = config_with_mekeys(9, 200, 200);
    NVLayoutTablet layout{};
    realloc_NVTabletLayout(1, cfg.get(), &layout);
    EXPECT_EQ(layout.mekeyNamesAlloc, 2u);
    EXPECT_EQ(layout.mekeyNames[0].num, 16u);
    free_NVTabletLayout(&layout);
}

TEST(TabletLayoutAlloc, NullRecordsAreHarmless)
{
    NVLayoutTablet layout{};
    layout.hbtnNum = 3;
    free_NVTabletLayout(&layout);
    EXPECT_TRUE(is_zero(&layout, sizeof layout));
    free_NVTabletLayout(nullptr);

    NVLayoutTablet noCfg{};
    realloc_NVTabletLayout(2, nullptr, &noCfg);
    EXPECT_NE(noCfg.ekLayouts, nullptr);
    EXPECT_EQ(noCfg.mekeyNames, nullptr);
    free_NVTabletLayout(&noCfg);
}

TEST(PenLayoutAlloc, ReallocKeepsEkNumForTheCaller)
{
    NVLayoutPen pen{};
    pen.size = NVSize{10, 20};
    pen.ekNum = 7;
    realloc_NVPenLayout(3, &pen);
    EXPECT_NE(pen.ekLayouts, nullptr);
    EXPECT_EQ(pen.ekNum, 0u);
    EXPECT_EQ(pen.size.cx, 0);
    realloc_NVPenLayout(0, &pen);
    EXPECT_EQ(pen.ekLayouts, nullptr);
    free_NVPenLayout(&pen);
    EXPECT_TRUE(is_zero(&pen, sizeof pen));
}

TEST(DevCfg, FreeZeroesTheWholeRecord)
{
    auto cfg = std::make_unique<NVConfig>();
    std::memset(cfg.get(), 0xAB, sizeof(NVConfig));
    free_NVDevCfg(cfg.get(), nullptr);
    EXPECT_TRUE(is_zero(cfg.get(), sizeof(NVConfig)));
}
