// The open-driver hotkey's stored form, its default and its X11 modifiers.
#include "settings/logic/NVOpenDriverHotkey.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(NVOpenDriverHotkey, WithoutAStoredShortcutTheDefaultIsStoredAndReturned)
{
    nvtest::ScopedConfigHome home;
    NVUserDefaults suite(nvSuiteNuvroTablet);
    const NVShortcut s = nv_read_open_driver_shortcut(suite);
    EXPECT_EQ(s.keyCode, 4);
    EXPECT_TRUE(s.hasControlKey && s.hasCommandKey);
    EXPECT_FALSE(s.hasOptionKey || s.hasShiftKey);
    EXPECT_EQ(suite.string(nvKeyOpenDriver), "1310720-4");

    const NVShortcut altF5 = NVShortcut::shortcutWithKeyCode(96, false, true, false, false);
    ASSERT_TRUE(nv_save_open_driver_shortcut(suite, altF5));
    const NVShortcut back = nv_read_open_driver_shortcut(suite);
    EXPECT_EQ(back.keyCode, 96);
    EXPECT_EQ(back.keyModifierFlags, NV_MOD_OPTION);

    ASSERT_TRUE(suite.set(nvKeyOpenDriver, "control-h"));
    EXPECT_EQ(nv_read_open_driver_shortcut(suite).keyCode, 4) << "an unreadable value gives the default";
    EXPECT_EQ(suite.string(nvKeyOpenDriver), "1310720-4") << "and the default replaces it";
}

TEST(NVOpenDriverHotkey, RegistrationFlagsToX11Modifiers)
{
    EXPECT_EQ(nv_x11_modifiers(nv_default_open_driver_shortcut().registerFlags()), 4 | 64);
    EXPECT_EQ(nv_x11_modifiers(0x1000 | 0x800 | 0x200 | 0x100), 4 | 8 | 1 | 64);
    EXPECT_EQ(nv_x11_modifiers(0x200), 1);
    EXPECT_EQ(nv_x11_modifiers(0x800), 8);
    EXPECT_EQ(nv_x11_modifiers(0), 0);
}
