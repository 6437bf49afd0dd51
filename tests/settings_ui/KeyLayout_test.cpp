// Key names follow the desktop's keyboard layout: the layout source on a private X server
// (a new layout, a group switch, no server at all), and every page and dialog that shows a
// layout-dependent key name writing it again when the layout changes.
#include "settings/logic/NVEkeyText.h"
#include "settings/logic/NVKeys.h"
#include "settings/logic/NVUserDefaults.h"
#include "settings/ui/HotkeysSettingViewController.h"
#include "settings/ui/HotkeysUtil.h"
#include "settings/ui/NVKeyLayoutSource.h"
#include "settings/ui/NVMouseImageView.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/VControllerEkey.h"
#include "settings/ui/VControllerNewEkeyVal.h"
#include "settings/ui/VControllerPen.h"

#include "tests/linux/XkbTestSupport.h"
#include "tests/linux/XvfbTestSupport.h"
#include "tests/settings_ui/KeyPages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>

namespace {

constexpr uint16_t kKeyZ = 6;  // Z on a US keyboard, Y on a German one
constexpr uint16_t kKeyY = 16; // and the other way round

void set_keyboard_function(NVEkey& e, uint16_t key)
{
    e = NVEkey{};
    e.funcBit = 0x04;
    e.kbtn.bCtrl = 1;
    e.kbtn.kbKeys[0] = static_cast<uint8_t>(key);
}

class KeyLayout : public KeyPagesTest {
protected:
    void TearDown() override
    {
        nv_ui_center().removeObserver(token_);
        KeyPagesTest::TearDown();
    }
    // Counts the changes the source announces from now on.
    void countChanges()
    {
        token_ = nv_ui_center().observe(nvUiKeyLayoutChanged, [this](const std::string&, const NVPlistDict&) { ++changes; });
    }
    // Another layout, as the source would announce it.
    static void announce(const char* layout)
    {
        nv_set_current_key_layout(NVKeyLayout::fromNames(layout));
        nv_ui_center().post(nvUiKeyLayoutChanged, {});
    }

    int changes = 0;

private:
    NotificationCenter::Token token_ = 0;
};

class KeyLayoutOnX : public KeyLayout {
protected:
    void SetUp() override
    {
        KeyLayout::SetUp();
        if (x.display().empty() || !nvtest::on_path("setxkbmap"))
            GTEST_SKIP() << "needs Xvfb and setxkbmap";
    }
    nvtest::PrivateXvfb x;
};

} // namespace

TEST_F(KeyLayoutOnX, TheServersLayoutNamesTheKeysAndANewOneRenamesThem)
{
    ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout us"));
    announce("de"); // whatever was in force before, the server's layout replaces it
    NVKeyLayoutSource source(x.display().c_str());
    ASSERT_TRUE(source.followsServer());
    EXPECT_EQ(NVKeys(kKeyZ).description(), "Z");
    EXPECT_EQ(NVKeys(kKeyY).description(), "Y");

    countChanges();
    ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout de"));
    ASSERT_TRUE(nvtest::spin_until([&] { return changes > 0; }));
    EXPECT_EQ(NVKeys(kKeyZ).description(), "Y");
    EXPECT_EQ(NVKeys(kKeyY).description(), "Z");
    EXPECT_EQ(NVKeys(41).description(), "\u00D6");
    EXPECT_EQ(NVKeys(122).description(), "F1") << "fixed names stay";

    changes = 0;
    ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout us"));
    ASSERT_TRUE(nvtest::spin_until([&] { return changes > 0 && NVKeys(kKeyZ).description() == "Z"; }));
}

TEST_F(KeyLayoutOnX, ASwitchBetweenTwoLayoutsRenamesTheKeys)
{
    ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout us,de"));
    NVKeyLayoutSource source(x.display().c_str());
    EXPECT_EQ(NVKeys(kKeyZ).description(), "Z");

    countChanges();
    ASSERT_TRUE(nvtest::lock_xkb_group(x.display(), 1));
    ASSERT_TRUE(nvtest::spin_until([&] { return changes > 0; }));
    EXPECT_EQ(NVKeys(kKeyZ).description(), "Y");

    changes = 0;
    ASSERT_TRUE(nvtest::lock_xkb_group(x.display(), 0));
    ASSERT_TRUE(nvtest::spin_until([&] { return changes > 0; }));
    EXPECT_EQ(NVKeys(kKeyZ).description(), "Z");
}

TEST_F(KeyLayoutOnX, TheNamesStayWhenTheServerGoesAway)
{
    ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout de"));
    NVKeyLayoutSource source(x.display().c_str());
    x.stop();
    ASSERT_TRUE(nvtest::spin_until([&] { return !source.followsServer(); }));
    EXPECT_EQ(NVKeys(kKeyZ).description(), "Y");
}

TEST_F(KeyLayout, WithoutAnXServerTheEnvironmentsDefaultNamesTheKeys)
{
    const QByteArray saved = qgetenv("XKB_DEFAULT_LAYOUT");
    qputenv("XKB_DEFAULT_LAYOUT", "de");
    {
        NVKeyLayoutSource source(":4095");
        EXPECT_FALSE(source.followsServer());
        EXPECT_EQ(NVKeys(kKeyZ).description(), "Y");
    }
    if (saved.isNull())
        qunsetenv("XKB_DEFAULT_LAYOUT");
    else
        qputenv("XKB_DEFAULT_LAYOUT", saved);
}

TEST_F(KeyLayoutOnX, TheHotkeysPageWritesItsHotkeyInTheNewLayout)
{
    ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout us"));
    NVKeyLayoutSource source(x.display().c_str());
    HotkeysUtil::saveOpenDriverShortcut(NVShortcut::shortcutWithKeyCode(kKeyZ, true, false, false, false));
    {
        HotkeysSettingViewController page;
        auto* field = page.findChild<QLineEdit*>("shortcutField");
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), "\u2303Z");
        ASSERT_TRUE(nvtest::setxkbmap(x.display(), "-layout de"));
        EXPECT_TRUE(nvtest::spin_until([&] { return field->text() == "\u2303Y"; })) << field->text().toStdString();
        EXPECT_EQ(NVUserDefaults(nvSuiteNuvroTablet).string(nvKeyOpenDriver), "262144-6") << "the key stays the key";
        page.windowClosed();
    }
    HotkeysUtil::unregisterOpenDriverHotkeys();
}

TEST_F(KeyLayout, PagesAndTheMultiFunctionDialogWriteKeyNamesAgain)
{
    connect("NUVRO_TA53");
    NVContextEkeys& c = g_ui.cfg.contexts[0];
    set_keyboard_function(c.hbtns[0], kKeyZ);
    set_keyboard_function(c.mekeys[0].muxfunc[0].ekeys[1], kKeyY);
    set_keyboard_function(c.pbtns[1], kKeyZ);

    VControllerEkey ekeys;
    ekeys.resize(940, 460);
    ekeys.show();
    auto* value = ekeys.findChild<QPushButton*>("_btnEkeyVal");
    auto* popup = ekeys.findChild<QComboBox*>("_btnMEkey");
    ASSERT_TRUE(value && popup);
    EXPECT_EQ(value->text().trimmed(), "\u2303 Z");
    ekeys.refreshMEkeyList(0);
    ASSERT_GT(popup->count(), 1);
    popup->setCurrentIndex(1);
    EXPECT_TRUE(popup->itemText(1).contains("Y")) << popup->itemText(1).toStdString();

    VControllerPen pen;
    auto* below = pen.findChild<QPushButton*>("_btnBelow");
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->text().trimmed(), "\u2303 Z");

    VControllerNewEkeyVal dialog;
    dialog.setPekey(&c.hbtns[0]);
    auto* recorded = dialog.findChild<QLineEdit*>("textHotkeys");
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded->text(), "\u2303 Z");

    announce("de");
    EXPECT_EQ(value->text().trimmed(), "\u2303 Y");
    EXPECT_EQ(value->accessibleDescription(), value->text());
    EXPECT_TRUE(popup->itemText(1).contains("Z")) << popup->itemText(1).toStdString();
    EXPECT_EQ(popup->currentIndex(), 1) << "the item chosen stays chosen";
    EXPECT_EQ(below->text().trimmed(), "\u2303 Y");
    EXPECT_EQ(below->toolTip(), below->text());
    EXPECT_EQ(recorded->text(), "\u2303 Y");
    EXPECT_EQ(c.hbtns[0].kbtn.kbKeys[0], kKeyZ) << "only the names change";
}
