// Qt's screens as the display list, on the offscreen platform with a screens file.
#include "platform/qt/QtScreenDisplayList.h"
#include "tests/support/TestSupport.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

TEST(QtScreenDisplayList, NativeBoundsInQtsOrder)
{
    nvtest::TempDir dir;
    const std::string config = (dir.path() / "screens.json").string();
    nvtest::write_file(config, R"({"screens": [
        {"name": "left", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBpp": 32, "dpr": 1},
        {"name": "right", "x": 1920, "y": 0, "width": 2560, "height": 1440, "logicalDpi": 192, "logicalBpp": 32, "dpr": 1}
    ]})");
    const std::string platform = "offscreen:configfile=" + config;
    int argc = 3;
    char a0[] = "qt_screens_tests", a1[] = "-platform";
    std::vector<char> a2(platform.begin(), platform.end());
    a2.push_back('\0');
    char* argv[] = {a0, a1, a2.data(), nullptr};
    QGuiApplication app(argc, argv);

    // The right screen is scaled by two (192 dpi): Qt reports half its size.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    ASSERT_EQ(QGuiApplication::screens()[1]->geometry().width(), 1280);

    QtScreenDisplayList list;
    std::vector<NVDisplayInfo> d;
    ASSERT_TRUE(list.activeDisplays(d));
    ASSERT_EQ(d.size(), 2u);
    EXPECT_DOUBLE_EQ(d[0].bounds.width, 1920);
    EXPECT_DOUBLE_EQ(d[1].bounds.x, 1920);
    EXPECT_DOUBLE_EQ(d[1].bounds.width, 2560);
    EXPECT_DOUBLE_EQ(d[1].bounds.height, 1440);
    EXPECT_NE(d[0].id, d[1].id);
}
