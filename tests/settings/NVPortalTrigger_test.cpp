// The portal's trigger text of a recorded shortcut.
#include "settings/logic/NVPortalTrigger.h"

#include "settings/logic/NVOpenDriverHotkey.h"

#include <gtest/gtest.h>

TEST(NVPortalTrigger, ModifiersInOrderThenTheKeysymName)
{
    EXPECT_EQ(nv_portal_trigger(nv_default_open_driver_shortcut()), "CTRL+LOGO+h");
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(96, true, true, true, true)),
              "CTRL+ALT+SHIFT+LOGO+F5");
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(122, false, false, false, false)), "F1");
    // Keys whose layout text is a symbol go by their keysym name, not the symbol.
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(27, false, true, false, false)), "ALT+minus");
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(49, true, false, false, false)), "CTRL+space");
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(116, false, false, true, false)), "SHIFT+Page_Up");
}

TEST(NVPortalTrigger, KeysWithoutAKeysymNameGiveNoTrigger)
{
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(10, true, false, false, false)), "");
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(55, true, false, false, false)), "")
        << "a modifier key alone";
    EXPECT_EQ(nv_portal_trigger(NVShortcut::shortcutWithKeyCode(500, false, false, false, false)), "");
}
