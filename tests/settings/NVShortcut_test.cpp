// Shortcuts, key names under real xkb layouts, modifier flags and the keyboard listener.
#include "settings/logic/NVKeyLayout.h"
#include "settings/logic/NVKeyboardListener.h"
#include "settings/logic/NVKeys.h"
#include "settings/logic/NVShortcut.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

#include <string>
#include <vector>

namespace {

class WithLayout : public ::testing::Test {
protected:
    void use(const char* name)
    {
        auto layout = NVKeyLayout::fromNames(name);
        ASSERT_NE(layout, nullptr) << name;
        nv_set_current_key_layout(std::move(layout));
    }
    void SetUp() override { use("us"); }
};

using KeyNames = WithLayout;

TEST_F(KeyNames, FixedNamesDoNotDependOnTheLayout)
{
    for (const char* layout : {"us", "de"}) {
        use(layout);
        EXPECT_EQ(NVKeys(36).description(), "\u21A9");
        EXPECT_EQ(NVKeys(49).description(), " Space ");
        EXPECT_EQ(NVKeys(126).description(), "\u2191");
        EXPECT_EQ(NVKeys(82).description(), "0");
        EXPECT_EQ(NVKeys(92).description(), "9");
        EXPECT_EQ(NVKeys(122).description(), "F1");
        EXPECT_EQ(NVKeys(111).description(), "F12");
        EXPECT_EQ(NVKeys(90).description(), "F20");
        EXPECT_EQ(NVKeys(80).description(), "F19");
    }
}

TEST_F(KeyNames, OtherKeysFollowTheLayoutInUpperCase)
{
    EXPECT_EQ(NVKeys(0).description(), "A");
    EXPECT_EQ(NVKeys(6).description(), "Z");
    EXPECT_EQ(NVKeys(16).description(), "Y");
    EXPECT_EQ(NVKeys(41).description(), ";");
    EXPECT_EQ(NVKeys(18).description(), "1");

    use("de");
    EXPECT_EQ(NVKeys(6).description(), "Y");
    EXPECT_EQ(NVKeys(16).description(), "Z");
    EXPECT_EQ(NVKeys(41).description(), "\u00D6");
    EXPECT_EQ(NVKeys(39).description(), "\u00C4");
}

TEST_F(KeyNames, KeysWithoutTextHaveNoName)
{
    EXPECT_EQ(NVKeys(55).description(), "");  // command
    EXPECT_EQ(NVKeys(52).description(), "");  // no key at all
    EXPECT_EQ(NVKeys(300).description(), ""); // beyond the table
    nv_set_current_key_layout(nullptr);
    EXPECT_EQ(NVKeys(0).description(), "");
    EXPECT_EQ(NVKeys(122).description(), "F1");
}

TEST(KeyLayout, UnknownLayoutIsRefused)
{
    EXPECT_EQ(NVKeyLayout::fromNames("no-such-layout"), nullptr);
    EXPECT_EQ(NVKeyLayout::fromKeymap(nullptr, 0), nullptr);
}

TEST(KeyLayout, TheGroupInForceNamesTheKeysOfATwoLayoutKeymap)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_rule_names names{};
    names.layout = "us,de";
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_context_unref(context);
    ASSERT_NE(keymap, nullptr);
    auto us = NVKeyLayout::fromKeymap(keymap, 0);
    auto de = NVKeyLayout::fromKeymap(keymap, 1);
    auto beyond = NVKeyLayout::fromKeymap(keymap, 2);
    // The layouts hold the keymap on their own.
    xkb_keymap_unref(keymap);
    EXPECT_EQ(us->keyText(KEY_Y), "Y");
    EXPECT_EQ(de->keyText(KEY_Y), "Z");
    EXPECT_EQ(de->keyText(KEY_SEMICOLON), "\u00D6");
    EXPECT_EQ(de->name(), "German");
    EXPECT_EQ(beyond->keyText(KEY_Y), "Y") << "a group past the last wraps round, as on the server";
    nv_set_current_key_layout(std::move(de));
    EXPECT_EQ(NVKeys(16).description(), "Z");
    nv_set_current_key_layout(NVKeyLayout::fromNames("us"));
}

TEST(KeyMasks, ConversionsBothWays)
{
    EXPECT_EQ(NVKeyMaskUtils::NVPickCocoaModifiers(0xFFFFFFFF), 0x1E0000u);
    EXPECT_EQ(NVKeyMaskUtils::CreateModifiersFlags(true, false, false, true), 0x140000u);
    EXPECT_EQ(NVKeyMaskUtils::CreateModifiersFlags(false, true, true, false), 0xA0000u);
    for (uint32_t flags = 0; flags <= NV_MOD_MASK; flags += NV_MOD_SHIFT) {
        const NVModifierKeys k = NVKeyMaskUtils::ModifiersFlags2Keys(flags);
        EXPECT_EQ(NVKeyMaskUtils::CreateModifiersFlags(k.control, k.option, k.shift, k.command), flags);
    }
    EXPECT_EQ(NVKeyMaskUtils::NVCarbonModifiersFromCocoaModifiers(NV_MOD_OPTION), 0x800u);
    EXPECT_EQ(NVKeyMaskUtils::NVCarbonModifiersFromCocoaModifiers(NV_MOD_COMMAND), 0x100u);
    EXPECT_EQ(NVKeyMaskUtils::NVCarbonModifiersFromCocoaModifiers(NV_MOD_CONTROL), 0x1000u);
    EXPECT_EQ(NVKeyMaskUtils::NVCarbonModifiersFromCocoaModifiers(NV_MOD_SHIFT | NV_MOD_COMMAND), 0x300u);
    EXPECT_EQ(NVKeyMaskUtils::NSString4CocoaModifiers(NV_MOD_MASK), "\u2303\u2325\u21E7\u2318");
    EXPECT_EQ(NVKeyMaskUtils::NSString4CocoaModifiers(NV_MOD_COMMAND | NV_MOD_SHIFT), "\u21E7\u2318");
}

using Shortcuts = WithLayout;

TEST_F(Shortcuts, SavedFormRoundTrip)
{
    const auto s = NVShortcut::shortcutWithDescription("1310720-4");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->keyCode, 4);
    EXPECT_TRUE(s->hasControlKey);
    EXPECT_TRUE(s->hasCommandKey);
    EXPECT_FALSE(s->hasShiftKey);
    EXPECT_FALSE(s->hasOptionKey);
    EXPECT_EQ(s->description(), "\u2303\u2318H");
    EXPECT_EQ(s->description4Save(), "1310720-4");

    const NVShortcut made = NVShortcut::shortcutWithKeyCode(122, false, true, true, false);
    EXPECT_EQ(NVShortcut::shortcutWithDescription(made.description4Save())->description4Save(),
              made.description4Save());
    // Flags outside the four modifiers are dropped when a shortcut is made.
    EXPECT_EQ(NVShortcut::shortcutWithKeyCode(0, 0x1E0100).keyModifierFlags, 0x1E0000u);

    for (const char* bad : {"", "12", "-4", "4-", "a-4", "1-99999", "1-2-3", "99999999999-1"})
        EXPECT_FALSE(NVShortcut::shortcutWithDescription(bad)) << bad;
}

TEST_F(Shortcuts, ModifierKeysAloneAndNamelessKeysAreInvalid)
{
    for (uint16_t code : {55, 56, 58, 59, 60, 61, 62}) {
        const NVShortcut s = NVShortcut::shortcutWithKeyCode(code, NV_MOD_CONTROL);
        EXPECT_TRUE(s.isControlerShortcut()) << code;
        EXPECT_FALSE(s.isValidShortcut()) << code;
    }
    EXPECT_FALSE(NVShortcut::shortcutWithKeyCode(57, 0).isControlerShortcut());
    EXPECT_FALSE(NVShortcut::shortcutWithKeyCode(52, 0).isValidShortcut());
    EXPECT_TRUE(NVShortcut::shortcutWithKeyCode(0, 0).isValidShortcut());
    EXPECT_EQ(NVShortcut::shortcutWithKeyCode(122, NV_MOD_SHIFT).keyCodeStringForKeyEquivalent(), "f1");
    EXPECT_EQ(NVShortcut::shortcutWithKeyCode(122, NV_MOD_SHIFT).registerFlags(), 0x200u);
}

TEST_F(Shortcuts, RegisteredWhenAnyCheckKnowsIt)
{
    const NVShortcut quit = NVShortcut::shortcutWithKeyCode(12, NV_MOD_CONTROL);
    EXPECT_FALSE(quit.hasRegistered());
    const int token = nv_add_shortcut_registry([](const NVShortcut& s) { return s.description4Save() == "262144-12"; });
    EXPECT_TRUE(quit.hasRegistered());
    EXPECT_FALSE(NVShortcut::shortcutWithKeyCode(12, NV_MOD_SHIFT).hasRegistered());
    nv_remove_shortcut_registry(token);
    EXPECT_FALSE(quit.hasRegistered());
}

TEST_F(Shortcuts, TextOfARecordedCombination)
{
    NVKbtn k{};
    k.bCtrl = 1;
    k.bShift = 1;
    k.kbKeys[0] = 8;
    EXPECT_EQ(NVShortcut::NSStringFromNVkbtns(k), "\u2303\u21E7 C");
    k.kbKeys[1] = 255; // key code 0
    k.kbKeys[2] = 36;
    EXPECT_EQ(NVShortcut::NSStringFromNVkbtns(k), "\u2303\u21E7 C A \u21A9");
    k.bAlt = 2; // only a flag of 1 counts
    EXPECT_EQ(NVShortcut::NSStringFromNVkbtns(k), "\u2303\u21E7 C A \u21A9");
    for (uint8_t& key : k.kbKeys)
        key = 0x12;
    std::string sixteen = "\u2303\u21E7";
    for (int i = 0; i < 16; ++i)
        sixteen += " 1";
    EXPECT_EQ(NVShortcut::NSStringFromNVkbtns(k), sixteen);
}

class RecordingSource : public NVKeyEventSource {
public:
    void install(NVKeyboardListener& l) override { installed = &l; }
    void remove() override { installed = nullptr; }
    NVKeyboardListener* installed = nullptr;
};

class Listener : public WithLayout {
protected:
    void SetUp() override
    {
        WithLayout::SetUp();
        NVKeyboardListener::setEventSource(&source);
    }
    void TearDown() override { NVKeyboardListener::setEventSource(nullptr); }
    void wire(NVKeyboardListener& l)
    {
        l.onUpdateText = [this](const std::string& t) { texts.push_back(t); };
        l.onShortcutChanged = [this](const NVShortcut&) { return accept; };
    }
    RecordingSource source;
    std::vector<std::string> texts;
    bool accept = true;
};

TEST_F(Listener, OnlyOneListensAndItsEventsStopWithIt)
{
    auto a = NVKeyboardListener::CreateInstanceWithSingleKey();
    auto b = NVKeyboardListener::CreateInstanceWithSingleKey();
    a->startListenKeyboard();
    EXPECT_EQ(source.installed, a.get());
    b->startListenKeyboard();
    EXPECT_EQ(source.installed, a.get());
    a->stopListenKeyboard();
    EXPECT_FALSE(NVKeyboardListener::isListening());
    EXPECT_EQ(source.installed, nullptr);
    b->startListenKeyboard();
    EXPECT_EQ(source.installed, b.get());
    b.reset();
    EXPECT_EQ(source.installed, nullptr);
    EXPECT_FALSE(NVKeyboardListener::isListening());
}

TEST_F(Listener, SingleModeReplacesAndSkipsTakenOrRefusedShortcuts)
{
    auto l = NVKeyboardListener::CreateInstanceWithSingleKey();
    wire(*l);
    l->hasShortcutRegistered = [](const NVShortcut& s) { return s.keyCode == 12; };
    l->addShortcut(NVShortcut::shortcutWithKeyCode(0, NV_MOD_CONTROL));
    l->addShortcut(NVShortcut::shortcutWithKeyCode(8, NV_MOD_COMMAND));
    l->addShortcut(NVShortcut::shortcutWithKeyCode(12, NV_MOD_COMMAND));
    l->addShortcut(NVShortcut::shortcutWithKeyCode(56, NV_MOD_SHIFT)); // shift alone
    accept = false;
    l->addShortcut(NVShortcut::shortcutWithKeyCode(1, NV_MOD_COMMAND));
    ASSERT_EQ(l->KeyEvents().size(), 1u);
    EXPECT_EQ(l->KeyEvents()[0].keyCode, 8);
    EXPECT_EQ(texts, (std::vector<std::string>{"\u2303A", "\u2318C"}));
}

TEST_F(Listener, SequenceModeKeepsSixteenKeysAfterItsModifiers)
{
    auto l = NVKeyboardListener::CreateInstanceWithControlKey(true, false, true, false);
    wire(*l);
    bool cleared = false;
    l->onClearShortcuts = [&] { cleared = true; };
    for (int i = 0; i < 17; ++i)
        l->addShortcut(NVShortcut::shortcutWithKeyCode(0x12, 0));
    EXPECT_EQ(l->KeyEvents().size(), 16u);
    ASSERT_EQ(texts.size(), 16u);
    EXPECT_EQ(texts.front(), "\u2303\u21E7 1");
    EXPECT_EQ(texts.back().size(), texts.front().size() + 15 * 2);
    l->clearKeyEvents();
    EXPECT_TRUE(l->KeyEvents().empty());
    EXPECT_EQ(texts.back(), "\u2303\u21E7");
    EXPECT_TRUE(cleared);
}

} // namespace
