// The function-set tip on the offscreen platform with two screens of different widths.
#include "agent/TipWindow.h"

#include "core/channel/NVNotificationNames.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEasingCurve>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// One application for the whole suite: Qt's animation timer does not start again in a second
// QApplication of the same process.
class TipWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new nvtest::TempDir;
        const std::string config = (dir->path() / "screens.json").string();
        nvtest::write_file(config, R"({"screens": [
            {"name": "main", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBpp": 32, "dpr": 1},
            {"name": "side", "x": 1920, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBpp": 32, "dpr": 1}
        ]})");
        platform = "offscreen:configfile=" + config;
        argv = {name, dashPlatform, platform.data(), nullptr};
        app = new QApplication(argc, argv.data());
    }
    static void TearDownTestSuite()
    {
        delete app;
        delete dir;
    }
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::screens().size(), 2);
        tip = std::make_unique<TipWindow>();
    }

    static NVPlistDict switch_to(int32_t muxIndex, int32_t screen)
    {
        return {{nvKeyMuxIndex, muxIndex},
                {nvKeyScreenToDisplay, screen},
                {nvKeyNameArray, NVPlistStrings{"Brush", "Eraser", "Zoom", "Pan"}}};
    }
    static bool spin_until(const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(5000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        return done();
    }

    static inline nvtest::TempDir* dir = nullptr;
    static inline std::string platform;
    static inline char name[16] = "agent_tip_tests";
    static inline char dashPlatform[16] = "-platform";
    static inline int argc = 3;
    static inline std::vector<char*> argv;
    static inline QApplication* app = nullptr;
    std::unique_ptr<TipWindow> tip;
};

} // namespace

TEST_F(TipWindowTest, FirstTipIsAStripAboveTheBottomOfTheAskedScreen)
{
    tip->showTipPanal(switch_to(1, 1));
    QLabel* w = tip->window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(tip->text(), "Eraser");
    EXPECT_EQ(w->geometry(), QRect(1920, 1024 - 100 - 50, 1280, 50));
    EXPECT_TRUE(w->isVisible());

    const Qt::WindowFlags flags = w->windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(w->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(w->alignment(), Qt::AlignCenter);
    EXPECT_EQ(w->font().family(), "Arial");
    EXPECT_EQ(w->font().pointSize(), 38);

    const QPropertyAnimation& fade = tip->fade();
    EXPECT_EQ(fade.state(), QAbstractAnimation::Running);
    EXPECT_EQ(fade.targetObject(), w);
    EXPECT_EQ(fade.propertyName(), "windowOpacity");
    EXPECT_EQ(fade.duration(), 2000);
    EXPECT_EQ(fade.easingCurve().type(), QEasingCurve::InOutQuad);
    EXPECT_DOUBLE_EQ(fade.startValue().toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(fade.endValue().toDouble(), 0.0);
}

TEST_F(TipWindowTest, AScreenPastTheLastMeansTheFirst)
{
    tip->showTipPanal(switch_to(0, 2));
    ASSERT_NE(tip->window(), nullptr);
    EXPECT_EQ(tip->text(), "Brush");
    EXPECT_EQ(tip->window()->geometry(), QRect(0, 1080 - 150, 1920, 50));
}

TEST_F(TipWindowTest, ANewTipReplacesTheTextKeepsTheFirstWidthAndRestartsTheFade)
{
    tip->showTipPanal(switch_to(0, 1));
    const QRect first = tip->window()->geometry();
    ASSERT_TRUE(spin_until([&] { return tip->fade().currentTime() >= 200; }));
    EXPECT_LT(tip->window()->windowOpacity(), 1.0);

    tip->showTipPanal(switch_to(2, 0));
    EXPECT_EQ(tip->text(), "Zoom");
    EXPECT_EQ(tip->window()->geometry(), first) << "the 1280-wide window stays where it was";
    EXPECT_LT(tip->fade().currentTime(), 200);
    EXPECT_EQ(tip->fade().state(), QAbstractAnimation::Running);
    EXPECT_DOUBLE_EQ(tip->window()->windowOpacity(), 1.0);
}

TEST_F(TipWindowTest, SetsFromTheFourthOnShowNothing)
{
    tip->showTipPanal(switch_to(3, 0));
    EXPECT_EQ(tip->window(), nullptr);
    tip->showTipPanal(switch_to(1, 0));
    tip->showTipPanal(switch_to(3, 0));
    EXPECT_EQ(tip->text(), "Eraser");
}

TEST_F(TipWindowTest, TheFadedTipIsHidden)
{
    tip->showTipWindow("Pan", 0);
    EXPECT_TRUE(spin_until([&] { return !tip->window()->isVisible(); }));
    EXPECT_EQ(tip->fade().state(), QAbstractAnimation::Stopped);
}
