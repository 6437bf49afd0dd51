// The work-area page and the calibration window, offscreen, with displays set by hand and
// the agent's messages on a private bus: the screen menu, dragging every band, typed
// fractions, rotation, the two area buttons, and a calibration run from start to end.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "core/model/NVGeometry.h"
#include "platform/linux/RandrDisplayList.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "platform/sim/FakeDisplays.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVCalibrationWindow.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVScreens.h"
#include "settings/ui/NVTranslations.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NVWorkareaView.h"
#include "settings/ui/VControllerWorkarea.h"

#include "tests/linux/XvfbTestSupport.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QProcess>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

using nvtest::spin_until;
using nvtest::ui_app;

NVDisplayInfo display(uint32_t id, double x, double w, double h)
{
    return {id, {x, 0, w, h}};
}

// A touch of the pen at a raw tablet point as the agent reads its reports: hover, tip, lift.
QByteArray touch_reports(uint32_t x, uint32_t y)
{
    QByteArray touch;
    for (int type : {0x80, 0x81, 0x80}) {
        char line[64];
        std::snprintf(line, sizeof line, "08 %02x %02x %02x %02x %02x %02x %02x %02x %02x 00 00\n", type, x & 0xFF,
                      (x >> 8) & 0xFF, y & 0xFF, (y >> 8) & 0xFF, type == 0x81 ? 0xF4 : 0, type == 0x81 ? 0x01 : 0,
                      (x >> 16) & 0xFF, (y >> 16) & 0xFF);
        touch += line;
    }
    return touch;
}

// Where the agent presses the button for a touch at a raw point: the location of the one
// button-down event it prints for it.
QPointF pressed_at(QProcess& agent, int32_t x, int32_t y)
{
    agent.readAll();
    agent.write(touch_reports(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
    QByteArray printed;
    QPointF at(-1, -1);
    const bool seen = spin_until([&] {
        printed += agent.readAll();
        for (const QByteArray& line : printed.split('\n')) {
            const qsizetype l = line.indexOf("\"location\":[");
            if (!line.contains("\"event\":1,") || l < 0 || !line.endsWith('}'))
                continue;
            const QList<QByteArray> xy = line.mid(l + 12, line.indexOf(']', l) - l - 12).split(',');
            if (xy.size() == 2)
                at = QPointF(xy[0].toDouble(), xy[1].toDouble());
            return true;
        }
        return false;
    });
    EXPECT_TRUE(seen) << "no button-down for (" << x << ", " << y << "); the agent said:\n" << printed.toStdString();
    return at;
}

class WorkareaPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (bus.address().isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        NVAppContext& ctx = nv_app_context();
        ctx.resPath = nvtest::resources_dir().string();
        nv_set_res_path(ctx.resPath);
        static bool translated = nv_install_translator(app, ctx.resPath);
        (void)translated;
        std::memset(&g_ui, 0, sizeof g_ui);
        nv_ui_globals_init();
        g_ui.ti = nv_model_tablet_info(*nv_model_by_identity("NUVRO_PE23"));
        ASSERT_TRUE(g_ui.ti.bMonitor);
        g_ui.bTabletOpened = true;
        g_ui.cfg.bAbsoluteMode = 1;
        g_ui.cfg.workarea = {0, 0, 1, 1};
        g_ui.tabletAreaRatio = {0.1f, 0.1f, 0.9f, 0.9f};

        connection = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "workarea-test"));
        center = std::make_unique<DBusNotificationCenter>(*connection);
        ctx.bus = center.get();
        NVConfigIO::setNotificationCenter(center.get());
        for (const char* name : {nvNotificationToDriverStartCalibrate, nvNotificationToDriverEndCalibrate,
                                 nvNotificationToDriverConfigChanged, nvNotificationCfgSendByUI})
            tokens.push_back(center->observe(name, [this](const std::string& n, const NVPlistDict&) {
                agentHeard.push_back(n);
            }));
        mainViewToken = nv_ui_center().observe(nvUiConfigChangeToMainView,
                                               [this](const std::string&, const NVPlistDict&) { ++edits; });
        answers.alert = [](const NVAlert&) { return 0; };
        nv_set_dialog_answers(&answers);
        nv_set_display_source_factory([this] {
            auto d = std::make_unique<FakeDisplays>(displays);
            fake = d.get();
            return d;
        });
    }
    void TearDown() override
    {
        page.reset();
        if (!center)
            return;
        for (auto t : tokens)
            center->removeObserver(t);
        nv_ui_center().removeObserver(mainViewToken);
        nv_set_display_source_factory(nullptr);
        nv_set_dialog_answers(nullptr);
        NVConfigIO::setNotificationCenter(nullptr);
        nv_app_context().bus = nullptr;
        center.reset();
        connection.reset();
        QDBusConnection::disconnectFromBus("workarea-test");
        nv_ui_globals_free();
        nv_set_res_path({});
    }

    VControllerWorkarea& open()
    {
        page = std::make_unique<VControllerWorkarea>();
        page->resize(900, 560);
        page->show();
        QCoreApplication::processEvents();
        return *page;
    }
    template <class W>
    W* find(const char* outlet)
    {
        W* w = page->findChild<W*>(outlet);
        EXPECT_NE(w, nullptr) << outlet;
        return w;
    }
    void type(const char* outlet, const QString& text)
    {
        auto* f = find<QLineEdit>(outlet);
        f->setText(text);
        emit f->editingFinished();
    }
    void mouse(QEvent::Type type, NVViewPoint p, Qt::MouseButtons buttons)
    {
        NVWorkareaView* v = page->workAreaView();
        const QPointF at = v->toWidget(p);
        QMouseEvent e(type, at, v->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &e);
    }
    void drag(NVViewPoint from, NVViewPoint to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        const NVViewPoint mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
        mouse(QEvent::MouseMove, mid, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    bool heard(const char* name) const
    {
        return std::find(agentHeard.begin(), agentHeard.end(), name) != agentHeard.end();
    }

    QApplication& app = ui_app();
    nvtest::PrivateBus bus;
    nvtest::ScopedConfigHome home;
    std::unique_ptr<QDBusConnection> connection;
    std::unique_ptr<DBusNotificationCenter> center;
    std::vector<NotificationCenter::Token> tokens;
    NotificationCenter::Token mainViewToken = 0;
    std::vector<std::string> agentHeard;
    int edits = 0;
    NVDialogAnswers answers;
    std::vector<NVDisplayInfo> displays{display(1, 0, 1920, 1080)};
    FakeDisplays* fake = nullptr;
    std::unique_ptr<VControllerWorkarea> page;
};

TEST_F(WorkareaPageTest, ScreenMenuFollowsTheDisplaysAndTheirChanges)
{
    g_ui.cfg.curScreenIndex = 2;
    open();
    auto* menu = find<QComboBox>("_btnSelectSreen");
    EXPECT_EQ(menu->count(), 1); // one screen: no "all"
    EXPECT_EQ(g_ui.cfg.curScreenIndex, 0u);
    EXPECT_TRUE(find<QPushButton>("_btnCalibration")->isEnabled());

    fake->setDisplays({display(1, 0, 1920, 1080), display(2, 1920, 1280, 1024), display(3, 3200, 800, 600)});
    ASSERT_EQ(menu->count(), 4);
    EXPECT_EQ(menu->itemText(1), qtTrId("str_W_screen") + " 2: 1280 x 1024");
    EXPECT_EQ(menu->itemText(3), qtTrId("str_W_all_screen"));
    emit menu->activated(3);
    EXPECT_EQ(g_ui.cfg.curScreenIndex, 3u);
    EXPECT_FALSE(find<QPushButton>("_btnCalibration")->isEnabled()); // all screens
    // The whole desktop's snapshot is wider than any one display's.
    const NVViewRect all = page->workAreaView()->snapshotRect();
    EXPECT_GT(all.width / all.height, 3.0);
    emit menu->activated(1);
    EXPECT_TRUE(find<QPushButton>("_btnCalibration")->isEnabled());
    EXPECT_EQ(edits, 2);
    // A display unplugged while "all" of three is chosen: index 3 is beyond two screens'
    // "all" (2) and is reset.
    g_ui.cfg.curScreenIndex = 3;
    fake->setDisplays({display(1, 0, 1920, 1080), display(2, 1920, 1280, 1024)});
    EXPECT_EQ(menu->count(), 3);
    EXPECT_EQ(g_ui.cfg.curScreenIndex, 0u);
}

// The agent's own display source on an X server with two monitors.
TEST_F(WorkareaPageTest, TwoRandrMonitorsAndAllOfThem)
{
    if (!nvtest::on_path("Xvfb") || !nvtest::on_path("xrandr"))
        GTEST_SKIP() << "Xvfb or xrandr missing";
    nvtest::PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    ASSERT_TRUE(x.xrandr("--setmonitor A 1920/500x1080/300+0+0 screen"));
    ASSERT_TRUE(x.xrandr("--setmonitor B 1280/300x1024/250+1920+0 none"));
    nv_set_display_source_factory([&x]() -> std::unique_ptr<DisplayList> {
        return RandrDisplayList::open(x.display().c_str());
    });
    open();
    auto* menu = find<QComboBox>("_btnSelectSreen");
    ASSERT_EQ(menu->count(), 3);
    EXPECT_EQ(menu->itemText(0), qtTrId("str_W_screen") + " 1: 1920 x 1080");
    EXPECT_EQ(menu->itemText(1), qtTrId("str_W_screen") + " 2: 1280 x 1024");
    EXPECT_EQ(menu->itemText(2), qtTrId("str_W_all_screen"));
    page.reset(); // before the server goes
}

TEST_F(WorkareaPageTest, DraggingEveryBandStoresTheAreaShown)
{
    open();
    NVWorkareaView* v = page->workAreaView();
    NVViewRect w = v->workareaRect();
    // Left edge inwards by a quarter of the width, right edge in by as much.
    drag({w.x, w.y + w.height / 2}, {w.x + w.width / 4, w.y + w.height / 2});
    EXPECT_NEAR(g_ui.cfg.workarea.left, 0.25, 0.01);
    EXPECT_NEAR(g_ui.cfg.workarea.right, 1, 1e-4);
    w = v->workareaRect();
    drag({w.x + w.width - 1, w.y + w.height / 2}, {w.x + w.width * 2 / 3, w.y + w.height / 2});
    EXPECT_NEAR(g_ui.cfg.workarea.right, 0.75, 0.01);
    // Bottom up, top down (view coordinates grow upwards).
    w = v->workareaRect();
    drag({w.x + w.width / 2, w.y}, {w.x + w.width / 2, w.y + w.height / 5});
    EXPECT_NEAR(g_ui.cfg.workarea.bottom, 0.8, 0.01);
    w = v->workareaRect();
    drag({w.x + w.width / 2, w.y + w.height - 1}, {w.x + w.width / 2, w.y + w.height * 3 / 4});
    EXPECT_NEAR(g_ui.cfg.workarea.top, 0.2, 0.01);
    // What the fields show is what is stored, after the last step too.
    EXPECT_EQ(find<QLineEdit>("_textLeft")->text().toDouble(), std::round(g_ui.cfg.workarea.left * 1e4) / 1e4);
    const NVRectRatio before = g_ui.cfg.workarea;
    // The centre drag moves the area's corner to the pointer, sizes unchanged.
    w = v->workareaRect();
    drag({w.x + w.width / 2, w.y + w.height / 2}, {w.x - 10, w.y - 5});
    EXPECT_NEAR(g_ui.cfg.workarea.right - g_ui.cfg.workarea.left, before.right - before.left, 0.002);
    EXPECT_LT(g_ui.cfg.workarea.left, before.left);
    // The left edge dragged past the active area is refused as a whole.
    const NVRectRatio kept = g_ui.cfg.workarea;
    w = v->workareaRect();
    mouse(QEvent::MouseButtonPress, {w.x, w.y + w.height / 2}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {1, w.y + w.height / 2}, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {1, w.y + w.height / 2}, Qt::NoButton);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.left, kept.left);
    EXPECT_GT(edits, 0);
    EXPECT_TRUE(agentHeard.empty()); // nothing reaches the agent before Apply
}

TEST_F(WorkareaPageTest, BandsShowTheirCursors)
{
    open();
    NVWorkareaView* v = page->workAreaView();
    const NVViewRect w = v->workareaRect();
    mouse(QEvent::MouseMove, {w.x, w.y + w.height / 2}, Qt::NoButton);
    EXPECT_EQ(v->cursor().shape(), Qt::SizeHorCursor);
    mouse(QEvent::MouseMove, {w.x + w.width / 2, w.y}, Qt::NoButton);
    EXPECT_EQ(v->cursor().shape(), Qt::SizeVerCursor);
    mouse(QEvent::MouseMove, {w.x + w.width / 2, w.y + w.height / 2}, Qt::NoButton);
    EXPECT_EQ(v->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WorkareaPageTest, TypedFractionsAreClampedPerEdge)
{
    open();
    type("_textLeft", "1.5");
    type("_textBottom", "-0.2");
    type("_textRight", "0.6");
    type("_textTop", "abc");
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.left, 0);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.bottom, 1);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.right, 0.6f);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.top, 0);
    EXPECT_EQ(find<QLineEdit>("_textLeft")->text(), "0");
    EXPECT_EQ(find<QLineEdit>("_textRight")->text(), "0.6");
    // Editing one field keeps the others' exact values, not their shown roundings.
    g_ui.cfg.workarea.top = 0.123456f;
    page->updateNVConfigToView();
    type("_textRight", "0.7");
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.top, 0.123456f);
    EXPECT_TRUE(agentHeard.empty());
}

TEST_F(WorkareaPageTest, RotationTurnsThePictureAndKeepsTheTabletsFractions)
{
    g_ui.cfg.workarea = {0, 0, 0.5f, 0.5f};
    open();
    NVWorkareaView* v = page->workAreaView();
    const NVViewRect upright = v->workareaRect();
    find<QRadioButton>("_radioNinety")->click();
    EXPECT_EQ(g_ui.cfg.rotateAngle, 90u);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.right, 0.5f);
    const NVViewRect turned = v->workareaRect();
    // The tablet's top-left quarter is now at the picture's top right.
    EXPECT_GT(turned.x, upright.x);
    find<QRadioButton>("_radioThreeNinety")->click();
    EXPECT_EQ(g_ui.cfg.rotateAngle, 270u);
    EXPECT_EQ(edits, 2);
    // Screen ratio on the turned tablet; full area afterwards.
    find<QPushButton>("_btnScreenRatio")->click();
    EXPECT_GT(g_ui.cfg.workarea.left, 0.1f);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.top, 0);
    find<QPushButton>("_btnWhileBoard")->click();
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.left, 0);
    EXPECT_FLOAT_EQ(g_ui.cfg.workarea.bottom, 1);
    EXPECT_TRUE(agentHeard.empty());
}

// --- calibration ---------------------------------------------------------------------

class CalibrationTest : public WorkareaPageTest {
protected:
    NVCalibrationWindow* start()
    {
        open();
        find<QPushButton>("_btnCalibration")->click();
        NVCalibrationWindow* w = page->calibrationWindow();
        EXPECT_NE(w, nullptr);
        window = w;
        EXPECT_TRUE(spin_until([this] { return heard(nvNotificationToDriverStartCalibrate); }));
        return w;
    }
    // A contact as the agent reports it, through the bus.
    void touch(int32_t x, int32_t y)
    {
        center->post(nvNotificationToUIPenData,
                     {{nvKeyPenX, NVPlistValue(x)}, {nvKeyPenY, NVPlistValue(y)}, {nvKeyPenPressure, NVPlistValue(500)}});
    }
    void touchTargets(int dx, int dy)
    {
        for (int k = 0; k < 9; ++k) {
            const NVPoint t = nv_calibration_target(k, g_ui.ti.maxX, g_ui.ti.maxY, g_ui.cfg.rotateAngle);
            touch(t.x + dx, t.y + dy);
        }
    }
    QPointer<NVCalibrationWindow> window;
};

TEST_F(CalibrationTest, NineTouchesAreFittedSavedAndSentWhenTheWindowCloses)
{
    nv_calibration_last_contact() = {0, 0};
    start();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    touch(100, 100); // too near the last accepted contact (0, 0)
    const NVPoint first = nv_calibration_target(0, g_ui.ti.maxX, g_ui.ti.maxY, 0);
    touch(first.x + 150, first.y - 90);
    touch(first.x + 160, first.y - 90); // the same touch again
    ASSERT_TRUE(spin_until([this] { return window && window->pointCount() == 1; }));
    EXPECT_EQ(window->view()->pointCount(), 1);
    for (int k = 1; k < 9; ++k) {
        const NVPoint t = nv_calibration_target(k, g_ui.ti.maxX, g_ui.ti.maxY, 0);
        touch(t.x + 150, t.y - 90);
    }
    ASSERT_TRUE(spin_until([this] { return !window; }));
    EXPECT_EQ(g_ui.cfg.bCalibrated, 1);
    EXPECT_NEAR(g_ui.cfg.calibrateFactor[0], 65536, 2);
    EXPECT_NEAR(g_ui.cfg.calibrateFactor[2], -150 * 65536, 65536);
    EXPECT_NEAR(g_ui.cfg.calibrateFactor[5], 90 * 65536, 65536);
    EXPECT_EQ(g_ui.cfg.calibrateFactor[6], 65536);
    ASSERT_TRUE(spin_until([this] { return heard(nvNotificationToDriverEndCalibrate); }));
    ASSERT_TRUE(spin_until([this] { return heard(nvNotificationToDriverConfigChanged); }));
    EXPECT_TRUE(heard(nvNotificationCfgSendByUI));
    // Saved in the user file.
    NVConfig saved{};
    ASSERT_TRUE(NVConfigIO::readXml("", &saved, &g_ui.ti));
    EXPECT_EQ(saved.bCalibrated, 1);
    EXPECT_EQ(saved.calibrateFactor[0], g_ui.cfg.calibrateFactor[0]);
}

TEST_F(CalibrationTest, ThePenOfTheSimulatedDisplayCalibratesThroughTheRealAgent)
{
    nvtest::TestAgent runner(bus.address(),
                             {"--simulate=NUVRO_PE23", "--print-events", "--feed-reports", "--foreground"});
    ASSERT_TRUE(runner.started());
    ASSERT_TRUE(runner.waitForTablet(*center)) << "the agent answers with its pen display";
    QProcess& agent = runner.process();

    // The agent's own record, as the page would hold it, uncalibrated. The agent handles the
    // bus's messages in order: its answer to a query follows the record.
    ASSERT_TRUE(NVConfigIO::readXml({}, &g_ui.cfg, &g_ui.ti));
    g_ui.cfg.bAbsoluteMode = 1;
    g_ui.cfg.rotateAngle = 0;
    g_ui.cfg.workarea = {0, 0, 1, 1};
    g_ui.cfg.bCalibrated = 0;
    NVConfigIO::synchronousCfgData(&g_ui.cfg);
    ASSERT_TRUE(runner.waitForTablet(*center));
    // The uncalibrated mapping is linear on each axis: two touches give it.
    const NVPoint a = nv_calibration_target(0, g_ui.ti.maxX, g_ui.ti.maxY, 0);
    const NVPoint b = nv_calibration_target(8, g_ui.ti.maxX, g_ui.ti.maxY, 0);
    const QPointF atA = pressed_at(agent, a.x, a.y);
    const QPointF atB = pressed_at(agent, b.x, b.y);
    ASSERT_NE(atA.x(), atB.x());
    ASSERT_NE(atA.y(), atB.y());

    nv_calibration_last_contact() = {0, 0};
    start();
    ASSERT_TRUE(window);
    // Each cross is touched 150 units right of and 90 above its target. The agent hears of
    // the calibration over the bus while its reports come on another path, so a touch is
    // repeated until it counts (a repeat at the same place never does).
    for (int k = 0; k < 9; ++k) {
        const NVPoint t = nv_calibration_target(k, g_ui.ti.maxX, g_ui.ti.maxY, 0);
        const QByteArray touch = touch_reports(static_cast<uint32_t>(t.x + 150), static_cast<uint32_t>(t.y - 90));
        ASSERT_TRUE(spin_until([&] {
            if (window && window->pointCount() == k + 1)
                return true;
            agent.write(touch);
            spin_until([] { return false; }, 100);
            return !window || window->pointCount() == k + 1;
        }, 5000)) << "cross " << k << "; the agent said:\n" << agent.readAll().toStdString();
    }
    ASSERT_TRUE(spin_until([this] { return !window; }, 5000));
    EXPECT_EQ(g_ui.cfg.bCalibrated, 1);
    EXPECT_NEAR(g_ui.cfg.calibrateFactor[2], -150 * 65536, 65536);
    EXPECT_NEAR(g_ui.cfg.calibrateFactor[5], 90 * 65536, 65536);

    // The closed window sent the fitted record: a touch anywhere now lands where the fit
    // takes it.
    ASSERT_TRUE(runner.waitForTablet(*center));
    const NVPoint raw{static_cast<int32_t>(g_ui.ti.maxX * 37 / 100), static_cast<int32_t>(g_ui.ti.maxY * 61 / 100)};
    NVPoint fitted = raw;
    calibrate_point(&g_ui.ti, &g_ui.cfg, &fitted);
    EXPECT_NEAR(fitted.x, raw.x - 150, 3);
    EXPECT_NEAR(fitted.y, raw.y + 90, 3);
    const QPointF expected(atA.x() + (fitted.x - a.x) * (atB.x() - atA.x()) / (b.x - a.x),
                           atA.y() + (fitted.y - a.y) * (atB.y() - atA.y()) / (b.y - a.y));
    const QPointF at = pressed_at(agent, raw.x, raw.y);
    EXPECT_NEAR(at.x(), expected.x(), 0.01);
    EXPECT_NEAR(at.y(), expected.y(), 0.01);

    ASSERT_TRUE(runner.stop());
}

TEST_F(CalibrationTest, ADegenerateFitKeepsThePreviousCalibrationAndAsksAgain)
{
    g_ui.cfg.bCalibrated = 1;
    g_ui.cfg.calibrateFactor[0] = 70000;
    nv_calibration_last_contact() = {0, 0};
    start();
    // Nine touches on one line.
    for (int k = 0; k < 9; ++k)
        touch(2000 + 1000 * k, 3000 + 1000 * k);
    ASSERT_TRUE(spin_until([this] {
        return window && window->findChild<QLabel*>("calibtateLabel")->text() == qtTrId("str_Calibrate_again");
    }));
    EXPECT_EQ(window->pointCount(), 0);
    EXPECT_EQ(window->view()->pointCount(), 0);
    EXPECT_EQ(g_ui.cfg.calibrateFactor[0], 70000);
    EXPECT_EQ(g_ui.cfg.bCalibrated, 1);
    EXPECT_FALSE(heard(nvNotificationCfgSendByUI));
    // Escape cancels, and the agent is told the calibration ended.
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &esc);
    ASSERT_TRUE(spin_until([this] { return !window && heard(nvNotificationToDriverEndCalibrate); }));
    EXPECT_EQ(g_ui.cfg.calibrateFactor[0], 70000);
}

TEST_F(CalibrationTest, RestoreClearsTheFactorsAndAVanishedScreenCancels)
{
    g_ui.cfg.bCalibrated = 1;
    g_ui.cfg.calibrateFactor[0] = 70000;
    g_ui.cfg.calibrateFactor[6] = 65536;
    start();
    window->findChild<QPushButton*>("restoreBtn")->click();
    ASSERT_TRUE(spin_until([this] { return !window && heard(nvNotificationToDriverConfigChanged); }));
    EXPECT_EQ(g_ui.cfg.bCalibrated, 0);
    EXPECT_EQ(g_ui.cfg.calibrateFactor[0], 0);
    EXPECT_EQ(g_ui.cfg.calibrateFactor[6], 0);

    agentHeard.clear();
    find<QPushButton>("_btnCalibration")->click();
    window = page->calibrationWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(spin_until([this] { return heard(nvNotificationToDriverStartCalibrate); }));
    QScreen* shown = window->screen();
    ASSERT_NE(shown, nullptr);
    emit qApp->screenRemoved(shown);
    ASSERT_TRUE(spin_until([this] { return !window && heard(nvNotificationToDriverEndCalibrate); }));
    EXPECT_EQ(g_ui.cfg.bCalibrated, 0);
}

} // namespace
