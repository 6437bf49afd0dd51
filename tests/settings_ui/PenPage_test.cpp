// The pen page: the three pen functions through save and load, the sensitivity stored on
// the slider's release, mouse mode, and the pressure test's strokes.
#include "settings/ui/NVPressViews.h"
#include "settings/ui/VControllerEkeyVal.h"
#include "settings/ui/VControllerPen.h"

#include "tests/settings_ui/KeyPages.h"

#include <QCheckBox>
#include <QPointingDevice>
#include <QPushButton>
#include <QSlider>
#include <QTabletEvent>

namespace {

class PenPage : public KeyPagesTest {};

void pen(QWidget& target, QEvent::Type type, QPointF p, double pressure)
{
    QTabletEvent e(type, QPointingDevice::primaryPointingDevice(), p, target.mapToGlobal(p), pressure, 0, 0, 0, 0, 0,
                   Qt::NoModifier, type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton,
                   type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton);
    QApplication::sendEvent(&target, &e);
}

// The number of painted pixels across column x of the canvas.
int stroke_width_at(const QImage& canvas, int x)
{
    int n = 0;
    for (int y = 1; y < canvas.height() - 1; ++y)
        if (canvas.pixel(x, y) != qRgb(255, 255, 255))
            ++n;
    return n;
}

} // namespace

TEST_F(PenPage, EveryPenFunctionIsEditedAndTheUpperButtonSurvivesSaveAndLoad)
{
    connect("NUVRO_T62E"); // two barrel buttons
    VControllerPen page;
    page.resize(940, 460);
    page.show();
    for (const char* outlet : {"_btnNib", "_btnBelow", "_btnAbove"})
        EXPECT_TRUE(page.findChild<QPushButton*>(outlet)->isVisible()) << outlet;
    onNextModal([](QWidget& dialog) {
        static_cast<VControllerEkeyVal&>(dialog).clickMatrixSwitch(1);
        static_cast<VControllerEkeyVal&>(dialog).clickBtnOk();
    });
    page.findChild<QPushButton*>("_btnAbove")->click();
    NVEkey& upper = g_ui.cfg.contexts[0].pbtns[2];
    EXPECT_EQ(upper.funcBit & 0x03, 0x02u);
    EXPECT_EQ(page.findChild<QPushButton*>("_btnAbove")->text(), string_from_ekey(&upper));

    ASSERT_TRUE(NVConfigIO::saveNVConfig(&g_ui.cfg, getConfigUserFullPath(), &g_ui.ti));
    auto loaded = std::make_unique<NVConfig>();
    ASSERT_TRUE(NVConfigIO::readXml(std::string(), loaded.get(), &g_ui.ti));
    EXPECT_EQ(loaded->contexts[0].pbtns[2].funcBit, upper.funcBit);
}

TEST_F(PenPage, SensitivityIsRoundedToAStepAndMouseModeIsStored)
{
    connect("NUVRO_T62E");
    VControllerPen page;
    page.show();
    auto* slider = page.findChild<QSlider*>("_sliderPress");
    slider->setValue(24); // 2.4 steps
    page.clickSlider();
    EXPECT_EQ(g_ui.cfg.pressFactor, 2);
    EXPECT_EQ(slider->value(), 20);
    slider->setValue(-36);
    page.clickSlider();
    EXPECT_EQ(g_ui.cfg.pressFactor, -4);

    auto* mouse = page.findChild<QCheckBox*>("_chkMouseMode");
    ASSERT_TRUE(mouse->isVisible());
    g_ui.cfg.bAbsoluteMode = 1;
    page.updateNVConfigToView();
    mouse->click();
    EXPECT_EQ(g_ui.cfg.bAbsoluteMode, 0);
}

TEST_F(PenPage, APenDisplayHasNoMouseMode)
{
    connect("NUVRO_PE23");
    ASSERT_NE(g_ui.ti.bMonitor, 0);
    VControllerPen page;
    page.show();
    EXPECT_FALSE(page.findChild<QCheckBox*>("_chkMouseMode")->isVisible());
}

TEST_F(PenPage, HarderPressureDrawsAWiderStrokeAndClearEmptiesTheSurface)
{
    connect("NUVRO_T62E"); // maxP 8191
    VControllerPen page;
    page.show();
    ViewPressTest& test = *page.testView();
    ASSERT_TRUE(test.bTest()) << "testing is on after loading";
    auto* bar = page.findChild<PressValueView*>("_pressView");
    pen(test, QEvent::TabletPress, {10, 50}, 0.1);
    pen(test, QEvent::TabletMove, {100, 50}, 0.1);
    EXPECT_NEAR(bar->progressValue(), 0.1, 1e-6);
    pen(test, QEvent::TabletRelease, {100, 50}, 0);
    EXPECT_EQ(bar->progressValue(), 0);
    pen(test, QEvent::TabletPress, {10, 150}, 1.0);
    pen(test, QEvent::TabletMove, {100, 150}, 1.0);
    pen(test, QEvent::TabletRelease, {100, 150}, 0);
    const int light = stroke_width_at(test.canvas().copy(0, 0, ViewPressTest::kWidth, 100), 50);
    const int hard = stroke_width_at(test.canvas().copy(0, 100, ViewPressTest::kWidth, 100), 50);
    EXPECT_GE(light, 1);
    EXPECT_GE(hard, 15);
    EXPECT_GT(hard, light + 10);

    // A stroke that leaves the surface draws nothing until it is back for two events.
    page.findChild<QPushButton*>("_btnClear")->click();
    EXPECT_EQ(stroke_width_at(test.canvas(), 50), 0);
    pen(test, QEvent::TabletPress, {50, 20}, 1.0);
    pen(test, QEvent::TabletMove, {50, 300}, 1.0);
    pen(test, QEvent::TabletMove, {50, 120}, 1.0);
    EXPECT_EQ(stroke_width_at(test.canvas(), 50), 0);

    // Testing off: nothing is drawn.
    page.clickBtnTest();
    pen(test, QEvent::TabletMove, {150, 120}, 1.0);
    pen(test, QEvent::TabletMove, {150, 160}, 1.0);
    EXPECT_EQ(stroke_width_at(test.canvas(), 150), 0);
}
