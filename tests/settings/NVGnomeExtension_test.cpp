#include "settings/logic/NVGnomeExtension.h"

#include <gtest/gtest.h>

namespace {

TEST(GnomeExtension, AskedForOnlyInAGnomeWaylandSessionWhereItDoesNotAnswer)
{
    for (const char* desktop : {"GNOME", "ubuntu:GNOME", "GNOME-Classic:GNOME", "gnome"})
        EXPECT_TRUE(nv_gnome_extension_wanted("wayland", desktop, false)) << desktop;
    EXPECT_FALSE(nv_gnome_extension_wanted("wayland", "GNOME", true)) << "it answers";
    EXPECT_FALSE(nv_gnome_extension_wanted("x11", "GNOME", false)) << "X11 windows are followed without it";
    EXPECT_FALSE(nv_gnome_extension_wanted("", "GNOME", false));
    for (const char* desktop : {"KDE", "sway", "GNOME-Flashback", "", "XFCE:GNOMEISH"})
        EXPECT_FALSE(nv_gnome_extension_wanted("wayland", desktop, false)) << desktop;
    EXPECT_EQ(nv_gnome_extension_enable_command(),
              (std::vector<std::string>{"gnome-extensions", "enable", "nuvro-focus@nuvro.example.com"}));
}

} // namespace
