#include "settings/logic/NVFlavour.h"

#include "core/device/NVModelTable.h"

#include <gtest/gtest.h>

namespace {

TEST(Flavour, DecidedByTheExactDisplayName)
{
    EXPECT_EQ(nv_flavour_from_display_name("NuvroTablet"), NVFlavour::Primary);
    EXPECT_EQ(nv_flavour_from_display_name("KeltaTablet"), NVFlavour::Second);
    EXPECT_EQ(nv_flavour_from_display_name("nuvrotablet"), NVFlavour::Third);
    EXPECT_EQ(nv_flavour_from_display_name("NuvroTablet "), NVFlavour::Third);
    EXPECT_EQ(nv_flavour_from_display_name(""), NVFlavour::Third);
}

TEST(Flavour, EachAcceptsItsOwnBrandsAndLeavesOthersDisconnected)
{
    struct Case {
        uint32_t devType;
        bool primary, second, third;
    };
    const Case cases[] = {
        {NVTT_NUVRO_T62E, true, false, false},
        {NVTT_NUVRO_T273, true, false, false},
        {NVTT_OEM02_T492, false, true, false},
        {NVTT_OEM19_T9D1, true, false, true}, // OEM19 belongs to two flavours
        {NVTT_OEM00_TA22, false, false, true},
        {NVTT_OEM14_P21E, false, false, true},
        {NVTT_OEM06_TB09, false, false, false}, // another brand: a device, but not ours
        {NVTT_OEM12_PEBC, false, false, false},
        {NVTT_UNKNOW, false, false, false},     // no tablet at all
        {9999, false, false, false},            // outside the model table
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.devType);
        EXPECT_EQ(nv_flavour_accepts_tablet(NVFlavour::Primary, c.devType), c.primary);
        EXPECT_EQ(nv_flavour_accepts_tablet(NVFlavour::Second, c.devType), c.second);
        EXPECT_EQ(nv_flavour_accepts_tablet(NVFlavour::Third, c.devType), c.third);
    }
    EXPECT_TRUE(nv_flavour_accepts_id(NVFlavour::Primary, "XNUVROX"));
    EXPECT_FALSE(nv_flavour_accepts_id(NVFlavour::Primary, "nuvro_t62e"));
}

TEST(Flavour, OnlyThePrimaryHasHotkeysAndOnlyTheThirdLacksTheApplicationsButton)
{
    const NVFlavourTraits& p = nv_flavour_traits(NVFlavour::Primary);
    const NVFlavourTraits& s = nv_flavour_traits(NVFlavour::Second);
    const NVFlavourTraits& t = nv_flavour_traits(NVFlavour::Third);
    EXPECT_STREQ(p.mainViewId, "VCNuvroUI");
    EXPECT_STREQ(s.mainViewId, "VCkeltaUI");
    EXPECT_STREQ(t.mainViewId, "VCkeltaUI");
    EXPECT_TRUE(p.hotkeysAndStatusItem);
    EXPECT_FALSE(s.hotkeysAndStatusItem || t.hotkeysAndStatusItem);
    EXPECT_TRUE(p.appListButton && s.appListButton);
    EXPECT_FALSE(t.appListButton);
    EXPECT_FALSE(p.keltaContainer);
    EXPECT_TRUE(s.keltaContainer && t.keltaContainer);
    EXPECT_NE(p.background, nullptr);
    EXPECT_EQ(s.background, nullptr);
    EXPECT_STREQ(s.windowTitleKey, "Kelta Graphics Tablet");
}

} // namespace
