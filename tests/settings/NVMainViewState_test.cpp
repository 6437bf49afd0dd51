// The settings application's shell without Qt: the main window's enabling rules, the info
// page's hidden labels, the flavour from Info.plist.
#include "settings/logic/NVBundle.h"
#include "settings/logic/NVHiddenLabel.h"
#include "settings/logic/NVMainViewState.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(NVMainViewState, ConnectEditApplyDisconnect)
{
    NVMainViewState s;
    EXPECT_EQ(s.controls(), NVMainControls{});
    EXPECT_EQ(s.page(), NVTAB_INFO);

    s.openTablet();
    NVMainControls open;
    open.tabs = {true, true, true, false}; // the info page is shown
    open.importBtn = open.exportBtn = open.defaultBtn = true;
    EXPECT_EQ(s.controls(), open);
    EXPECT_EQ(s.page(), NVTAB_INFO);

    s.edited();
    EXPECT_TRUE(s.controls().ok && s.controls().apply);
    ASSERT_TRUE(s.switchTo(NVTAB_PEN));
    EXPECT_TRUE(s.controls().ok && s.controls().apply) << "a tab switch keeps an unapplied edit";
    EXPECT_EQ(s.controls().tabs, (std::array<bool, NVTAB_COUNT>{true, false, true, true}));

    s.applied();
    EXPECT_FALSE(s.controls().ok || s.controls().apply);
    EXPECT_TRUE(s.controls().importBtn);

    s.edited();
    s.closeTablet();
    EXPECT_EQ(s.controls(), NVMainControls{}) << "an unplug disables OK and Apply with everything else";
    EXPECT_EQ(s.page(), NVTAB_INFO);

    // A reconnect starts clean: the configuration is read again from the file.
    s.openTablet();
    EXPECT_FALSE(s.controls().ok || s.controls().apply);
}

TEST(NVMainViewState, TabsWithoutTabletAndUnknownTags)
{
    NVMainViewState s;
    EXPECT_TRUE(s.switchTo(NVTAB_EKEY));
    EXPECT_EQ(s.controls(), NVMainControls{}) << "without a tablet a switch enables nothing";
    s.openTablet();
    for (int tag : {-1, 4, 99}) {
        EXPECT_FALSE(s.switchTo(tag));
        EXPECT_EQ(s.page(), NVTAB_INFO);
    }
    EXPECT_STREQ(nv_tab_page_id(NVTAB_EKEY), "VCEkey");
    EXPECT_STREQ(nv_tab_page_id(NVTAB_PEN), "VCPen");
    EXPECT_STREQ(nv_tab_page_id(NVTAB_WORKAREA), "VCWorkarea");
    EXPECT_STREQ(nv_tab_page_id(NVTAB_INFO), "VCInfo");
    EXPECT_EQ(nv_tab_page_id(4), nullptr);
}

TEST(NVHiddenLabel, WordsCountOnlyWithControlAndAWrongLetterBlocksThem)
{
    NVHiddenLabelKeys keys;
    for (char c : std::string("qzk"))
        EXPECT_EQ(keys.keyDown(std::string(1, c), false), NVHiddenLabel::None);
    EXPECT_EQ(keys.typed(), "");

    EXPECT_EQ(keys.keyDown("q", true), NVHiddenLabel::None);
    EXPECT_EQ(keys.keyDown("z", true), NVHiddenLabel::None);
    EXPECT_EQ(keys.keyDown("k", true), NVHiddenLabel::Firmware);
    EXPECT_EQ(keys.typed(), "") << "a matched word starts over";
    for (char c : std::string("wbxt"))
        EXPECT_EQ(keys.keyDown(std::string(1, c), true), NVHiddenLabel::None);
    EXPECT_EQ(keys.keyDown("o", true), NVHiddenLabel::Credits);

    NVHiddenLabelKeys wrong;
    wrong.keyDown("a", true);
    for (char c : std::string("qzk"))
        EXPECT_EQ(wrong.keyDown(std::string(1, c), true), NVHiddenLabel::None);
    EXPECT_EQ(wrong.typed(), "aqzk");
}

TEST(NVHiddenLabel, Texts)
{
    const std::string credits = nv_credits_text();
    EXPECT_EQ(credits.size(), NV_CREDITS_LEN);
    for (char c : credits)
        EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "the XOR decodes to printable text";
    EXPECT_EQ(nv_hidden_label_text(NVHiddenLabel::Firmware, "V1.2"), "V1.2");
    EXPECT_EQ(nv_hidden_label_text(NVHiddenLabel::Credits, "V1.2"), credits + "  V1.2");
    EXPECT_EQ(nv_hidden_label_text(NVHiddenLabel::None, "V1.2"), "");
}

TEST(NVBundle, DisplayNameDecidesTheFlavour)
{
    nvtest::TempDir res;
    EXPECT_EQ(nv_read_bundle_info(res.path().string()).displayName, "NuvroTablet") << "no Info.plist";
    EXPECT_EQ(nv_read_bundle_info(res.path().string()).flavour, NVFlavour::Primary);

    auto write = [&](const char* name) {
        nvtest::write_file(res.path() / "Info.plist",
                           std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                                       "<key>CFBundleDisplayName</key><string>") +
                               name +
                               "</string><key>CFBundleShortVersionString</key><string>2.3.4</string></dict></plist>");
    };
    write("KeltaTablet");
    const NVBundleInfo kelta = nv_read_bundle_info(res.path().string());
    EXPECT_EQ(kelta.flavour, NVFlavour::Second);
    EXPECT_EQ(kelta.version, "2.3.4");
    write("Graphic Tablet");
    EXPECT_EQ(nv_read_bundle_info(res.path().string()).flavour, NVFlavour::Third);
}
