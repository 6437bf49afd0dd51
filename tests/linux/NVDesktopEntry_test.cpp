#include "platform/linux/NVDesktopEntry.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A file with its folders made first.
void write_file(const std::filesystem::path& p, const std::string& content)
{
    std::filesystem::create_directories(p.parent_path());
    nvtest::write_file(p, content);
}


TEST(DesktopEntry, ReadsOnlyTheMainGroupWithEscapesAndTheBestLocalisedName)
{
    const char* text = "# comment\n"
                       "[Desktop Entry]\r\n"
                       "Type=Application\n"
                       "Name=Paint\n"
                       "Name[de]=Malen\n"
                       "Name[de_AT]=Malerei\n"
                       "Icon = paint-icon \n"
                       "Exec=paint\\sit --new %U\n"
                       "X-Flatpak=org.example.Paint\n"
                       "[Desktop Action New]\n"
                       "Name=New Window\n"
                       "Exec=other\n";
    const NVDesktopEntry e = nv_parse_desktop_entry(text, "de_AT.UTF-8");
    EXPECT_TRUE(e.isApplication);
    EXPECT_EQ(e.name, "Malerei");
    EXPECT_EQ(e.icon, "paint-icon");
    EXPECT_EQ(e.exec, "paint it --new %U") << "the action group does not override the entry";
    EXPECT_EQ(e.flatpak, "org.example.Paint");
    EXPECT_EQ(nv_parse_desktop_entry(text, "de_DE").name, "Malen");
    EXPECT_EQ(nv_parse_desktop_entry(text, "C").name, "Paint");
    EXPECT_EQ(nv_parse_desktop_entry(text, "fr_FR.UTF-8").name, "Paint");
}

TEST(DesktopEntry, ListingHonoursFolderOrderHiddenEntriesAndSortsByName)
{
    nvtest::TempDir tmp;
    const auto user = tmp.path() / "user";
    const auto sys = tmp.path() / "sys";
    write_file(sys / "zeta.desktop", "[Desktop Entry]\nType=Application\nName=zeta\nExec=zeta\n");
    write_file(sys / "alpha.desktop", "[Desktop Entry]\nType=Application\nName=Alpha\nExec=alpha\n");
    write_file(user / "alpha.desktop", "[Desktop Entry]\nType=Application\nName=Alpha\nExec=alpha\nHidden=true\n");
    write_file(sys / "beta.desktop", "[Desktop Entry]\nType=Application\nName=Beta\nExec=old-beta\n");
    write_file(user / "beta.desktop", "[Desktop Entry]\nType=Application\nName=Beta\nExec=new-beta\n");
    write_file(sys / "kde" / "gamma.desktop", "[Desktop Entry]\nType=Application\nName=Gamma\nExec=g\n");
    write_file(sys / "link.desktop", "[Desktop Entry]\nType=Link\nName=Link\nURL=x\n");
    write_file(sys / "nodisplay.desktop", "[Desktop Entry]\nType=Application\nName=N\nExec=n\nNoDisplay=true\n");
    write_file(sys / "noexec.desktop", "[Desktop Entry]\nType=Application\nName=Q\n");
    write_file(sys / "notes.txt", "[Desktop Entry]\nType=Application\nName=T\nExec=t\n");

    const auto apps = nv_list_applications({user, sys, tmp.path() / "absent"}, "C");
    std::vector<std::string> names;
    for (const auto& a : apps)
        names.push_back(a.name + ":" + a.id + ":" + a.exec);
    EXPECT_EQ(names, (std::vector<std::string>{"Beta:beta.desktop:new-beta", "Gamma:kde-gamma.desktop:g",
                                               "zeta:zeta.desktop:zeta"}));
}

TEST(DesktopEntry, FoldersFollowTheXdgVariables)
{
    setenv("XDG_DATA_HOME", "/h/share", 1);
    setenv("XDG_DATA_DIRS", "/a:relative::/b", 1);
    EXPECT_EQ(nv_application_dirs(), (std::vector<std::filesystem::path>{"/h/share/applications", "/a/applications",
                                                                         "/b/applications"}));
    unsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(nv_xdg_data_dirs(), (std::vector<std::filesystem::path>{"/h/share", "/usr/local/share", "/usr/share"}));
    unsetenv("XDG_DATA_HOME");
}

} // namespace
