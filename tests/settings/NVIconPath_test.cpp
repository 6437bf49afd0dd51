#include "settings/logic/NVIconPath.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A file with its folders made first.
void write_file(const std::filesystem::path& p, const std::string& content)
{
    std::filesystem::create_directories(p.parent_path());
    nvtest::write_file(p, content);
}

TEST(IconPath, LargestThemeBitmapThenScalableThenPixmapsThenNothing)
{
    nvtest::TempDir tmp;
    const auto a = tmp.path() / "a";
    const auto b = tmp.path() / "b";
    write_file(b / "icons/hicolor/48x48/apps/paint.png", "png");
    write_file(a / "icons/hicolor/scalable/apps/paint.svg", "svg");
    write_file(b / "icons/hicolor/256x256/apps/paint.png", "png");
    write_file(a / "pixmaps/old.xpm", "xpm");
    write_file(a / "abs.png", "png");

    EXPECT_EQ(nv_icon_file("paint", {a, b}), b / "icons/hicolor/256x256/apps/paint.png");
    std::filesystem::remove(b / "icons/hicolor/256x256/apps/paint.png");
    EXPECT_EQ(nv_icon_file("paint", {a, b}), b / "icons/hicolor/48x48/apps/paint.png");
    EXPECT_EQ(nv_icon_file("old", {a, b}), a / "pixmaps/old.xpm");
    EXPECT_EQ(nv_icon_file((a / "abs.png").string(), {}), a / "abs.png");
    EXPECT_EQ(nv_icon_file((a / "gone.png").string(), {a}), "");
    EXPECT_EQ(nv_icon_file("../pixmaps/old", {a}), "") << "a name never leaves the icon folders";
    EXPECT_EQ(nv_icon_file("", {a}), "");
    EXPECT_EQ(nv_icon_file("absent", {a, b}), "");
}

} // namespace
