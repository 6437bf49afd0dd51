// The preferences window and its pages, the main window's top-bar buttons and menu, and
// the box about a taken hotkey, offscreen. Monitors are scripted, the uninstall's pkexec a
// recording stand-in.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigPaths.h"
#include "settings/logic/NVPrefsToolbar.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/logic/NVUserDefaults.h"
#include "settings/ui/GeneralSettingsViewController.h"
#include "settings/ui/HotkeysSettingViewController.h"
#include "settings/ui/HotkeysUtil.h"
#include "settings/ui/MainWindowController.h"
#include "settings/ui/MonitorSettingsController.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVDrmDisplaySource.h"
#include "settings/ui/NVSubViewController.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NuvroMessageBox.h"
#include "settings/ui/NuvroUtils.h"
#include "settings/ui/SettingsWindowController.h"
#include "settings/ui/ViewController.h"

#include "platform/linux/XcbHotkey.h"
#include "platform/sim/FakeDisplays.h"

#include "tests/linux/XvfbTestSupport.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/settings/DrmSysfsTree.h"
#include "tests/settings/EdidBlock.h"
#include "tests/settings/FakeDdcMonitor.h"
#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using nvtest::FakeDdcMonitor;

class ScriptedDisplays : public NVDdcDisplaySource {
public:
    std::vector<DDCDisplay> list;
    FakeDdcMonitor first, second;
    std::vector<DDCDisplay> displays() override { return list; }
    std::unique_ptr<NVI2cPort> open(const DDCDisplay& d) override
    {
        if (d.bus == 1)
            return first.port();
        if (d.bus == 2)
            return second.port();
        return nullptr;
    }
};

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::ui_app();
        NVAppContext& ctx = nv_app_context();
        ctx.resPath = nvtest::resources_dir().string();
        ctx.bundle = nv_read_bundle_info(ctx.resPath);
        nv_set_res_path(ctx.resPath);
        std::memset(&g_ui, 0, sizeof g_ui);
        didNeedUpdate = false;
        answers.alert = [this](const NVAlert& a) {
            alerts.push_back(a);
            return alertAnswer;
        };
        nv_set_dialog_answers(&answers);
        MonitorSettingsController::setDisplaySource(&displays);
    }
    void TearDown() override
    {
        SettingsWindowController::closeSettingsWindow();
        if (NuvroMessageBox* box = NuvroMessageBox::current())
            box->close();
        settle();
        MonitorSettingsController::setDisplaySource(nullptr);
        nv_set_dialog_answers(nullptr);
        nv_set_res_path({});
        nv_app_context().bundle.flavour = NVFlavour::Primary;
    }
    // Closed windows are deleted later.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    static QStringList toolbarItems(SettingsWindowController* w)
    {
        QStringList ids;
        for (QAction* a : w->toolbar()->actions())
            ids << a->objectName();
        return ids;
    }
    static QString page(SettingsWindowController* w) { return w->centralWidget()->objectName(); }

    nvtest::ScopedConfigHome home;
    ScriptedDisplays displays;
    NVDialogAnswers answers;
    std::vector<NVAlert> alerts;
    int alertAnswer = 0;
};

void use_fake_pkexec(const std::filesystem::path& dir, int exitCode)
{
    const auto fake = dir / "pkexec";
    nvtest::write_file(fake, "#!/bin/sh\nexit " + std::to_string(exitCode) + "\n");
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    qputenv("NV_PKEXEC", QByteArray::fromStdString(fake.string()));
}

} // namespace

TEST_F(PreferencesTest, OneWindowWhoseToolbarFollowsTheBrandAndTheCallersIndex)
{
    SettingsWindowController* w = SettingsWindowController::showSettingsWindow(0);
    EXPECT_EQ(SettingsWindowController::showSettingsWindow(0), w) << "one window in the process";
    EXPECT_EQ(w->windowTitle(), qtTrId("settingsTitle"));
    EXPECT_EQ(toolbarItems(w), (QStringList{nvItemGeneral, nvItemHotkeys, nvItemMonitor}));
    EXPECT_EQ(w->toolbarSelectedItem(), nvItemGeneral);
    EXPECT_EQ(page(w), nvPageGeneral);

    QWidget* general = w->centralWidget();
    w->onToolbarItemClick(nvItemGeneral);
    EXPECT_EQ(w->centralWidget(), general) << "a click on the selected item does nothing";

    w->setTabIndex(1);
    EXPECT_EQ(page(w), nvPageHotkeys);
    EXPECT_EQ(w->toolbarSelectedItem(), nvItemHotkeys);
    w->setTabIndex(0);
    EXPECT_EQ(page(w), nvPageHotkeys) << "0 keeps the page shown";
    w->setTabIndex(2);
    EXPECT_EQ(page(w), nvPageMonitor);

    nv_ui_center().post(nvUiApplicationTerminate, {});
    settle();
    EXPECT_EQ(SettingsWindowController::current(), nullptr) << "the main view went: so does the window";
    SettingsWindowController* again = SettingsWindowController::showSettingsWindow(1);
    EXPECT_EQ(page(again), nvPageHotkeys) << "a new window opens on the page asked for";

    NVSubViewController::notifyTabletStateChangedToSubView();
    settle();
    EXPECT_EQ(SettingsWindowController::current(), nullptr) << "the tablet went: the window closes";

    nv_app_context().bundle.flavour = NVFlavour::Third;
    SettingsWindowController* other = SettingsWindowController::showSettingsWindow(1);
    EXPECT_EQ(toolbarItems(other), (QStringList{nvItemGeneral, nvItemMonitor}));
    EXPECT_EQ(page(other), nvPageGeneral) << "another brand has no hotkeys page";
    other->onToolbarItemClick(nvItemHotkeys);
    EXPECT_EQ(page(other), nvPageGeneral);
}

TEST_F(PreferencesTest, TheTakenHotkeyBoxIsOneAndOpensTheHotkeysPage)
{
    NuvroMessageBox* box = NuvroMessageBox::ShowHotkeysRegisteredWindow();
    EXPECT_EQ(NuvroMessageBox::ShowHotkeysRegisteredWindow(), box);
    EXPECT_EQ(box->windowTitle(), qtTrId("str_M_prompt"));
    auto* change = box->findChild<QPushButton*>("changeNow");
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->text(), qtTrId("changeNow"));
    change->click();
    settle();
    EXPECT_EQ(NuvroMessageBox::current(), nullptr);
    ASSERT_NE(SettingsWindowController::current(), nullptr);
    EXPECT_EQ(page(SettingsWindowController::current()), nvPageHotkeys);
    EXPECT_NE(NuvroMessageBox::ShowHotkeysRegisteredWindow(), nullptr) << "a later box is a new one";
}

TEST_F(PreferencesTest, TopBarButtonsAndThePreferencesItemPerFlavour)
{
    LocalNotificationCenter bus;
    {
        MainWindowController window(bus);
        auto* settings = window.findChild<QToolButton*>("settingsBtn");
        ASSERT_NE(settings, nullptr);
        EXPECT_FALSE(settings->accessibleName().isEmpty());
        ASSERT_NE(window.findChild<QToolButton*>("appSettingsBtn"), nullptr);
        settings->click();
        ASSERT_NE(SettingsWindowController::current(), nullptr);
        EXPECT_EQ(page(SettingsWindowController::current()), nvPageGeneral);
        SettingsWindowController::closeSettingsWindow();
        settle();

        auto* preferences = window.findChild<QAction*>("preferencesItem");
        ASSERT_NE(preferences, nullptr);
        preferences->trigger();
        EXPECT_NE(SettingsWindowController::current(), nullptr);

        // Without a tablet the applications button shows no list.
        const int before = QApplication::topLevelWidgets().size();
        window.findChild<QToolButton*>("appSettingsBtn")->click();
        EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    }
    SettingsWindowController::closeSettingsWindow();
    settle();

    nv_app_context().bundle.flavour = NVFlavour::Third;
    MainWindowController third(bus);
    EXPECT_NE(third.findChild<QToolButton*>("settingsBtn"), nullptr);
    EXPECT_EQ(third.findChild<QToolButton*>("appSettingsBtn"), nullptr);
    QAction* preferences = third.findChild<QAction*>("preferencesItem");
    ASSERT_NE(preferences, nullptr);
    preferences->trigger();
    EXPECT_EQ(SettingsWindowController::current(), nullptr) << "the item has no action in this flavour";
}

TEST_F(PreferencesTest, MonitorPageListsTheDisplaysAndAdjustsTheCurrentOne)
{
    displays.list = {{0, 1, "Left", "SN1"}, {1, 2, "Right", "SN2"}};
    displays.second.values[NVVCP_BRIGHTNESS] = 33;
    displays.second.values[NVVCP_CONTRAST] = 66;
    MonitorSettingsController page;
    auto* chooser = page.findChild<QComboBox*>("displayChooser");
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(0), "1:Left");
    EXPECT_EQ(chooser->itemText(1), "2:Right");
    EXPECT_EQ(chooser->currentIndex(), 1) << "starts on the last display";
    auto* brightness = page.findChild<QSlider*>("brightnessSlider");
    auto* contrast = page.findChild<QSlider*>("contrastSlider");
    ASSERT_TRUE(nvtest::spin_until([&] { return brightness->value() == 33 && contrast->value() == 66; }));
    EXPECT_FALSE(page.findChild<QSlider*>("redSlider")->isEnabled());

    brightness->setValue(80);
    page.findChild<QPushButton*>("btnUser")->click();
    ASSERT_TRUE(page.findChild<QSlider*>("redSlider")->isEnabled());
    page.findChild<QSlider*>("redSlider")->setValue(20);
    page.findChild<QPushButton*>("btn6500K")->click();
    EXPECT_FALSE(page.findChild<QSlider*>("blueSlider")->isEnabled());
    page.findChild<QPushButton*>("btnReset")->click();
    using Set = FakeDdcMonitor::Set;
    const std::vector<Set> expected{{NVVCP_BRIGHTNESS, 80}, {NVVCP_COLOR_PRESET, 11}, {NVVCP_RED_GAIN, 20},
                                    {NVVCP_COLOR_PRESET, 5}, {NVVCP_RESTORE_DEFAULTS, 1}};
    ASSERT_TRUE(nvtest::spin_until([&] { return displays.second.sets().size() == expected.size(); }));
    EXPECT_EQ(displays.second.sets(), expected);
    EXPECT_TRUE(displays.first.sets().empty());
    EXPECT_FALSE(page.displayNotAnswering());

    NVUserDefaults(nvSuiteNuvroTablet).setBool("ContinuousEffectsSN1", true);
    chooser->setCurrentIndex(0);
    EXPECT_FALSE(brightness->hasTracking()) << "this display's sliders report on release";
    ASSERT_TRUE(nvtest::spin_until([&] { return brightness->value() == 40; }));
}

TEST_F(PreferencesTest, ADisplayThatDoesNotAnswerIsSaidSoAndThePageStaysUsable)
{
    displays.list = {{0, 1, "Quiet", ""}, {1, -1, "No bus", ""}};
    displays.first.fault = FakeDdcMonitor::Fault::WrongChecksum;
    displays.first.values[NVVCP_BRIGHTNESS] = 90;
    MonitorSettingsController page;
    auto* brightness = page.findChild<QSlider*>("brightnessSlider");
    ASSERT_TRUE(nvtest::spin_until([&] { return page.displayNotAnswering(); })) << "a display without a bus";
    EXPECT_EQ(brightness->value(), 50);

    int replies = 0;
    QObject::connect(&page, &MonitorSettingsController::requestFinished, [&] { ++replies; });
    page.findChild<QComboBox*>("displayChooser")->setCurrentIndex(0);
    ASSERT_TRUE(nvtest::spin_until([&] { return replies == 2; })) << "brightness and contrast read";
    EXPECT_TRUE(page.displayNotAnswering());
    EXPECT_NE(brightness->value(), 90) << "an invalid reply is not shown as the value";

    displays.first.fault = FakeDdcMonitor::Fault::None;
    brightness->setValue(70);
    ASSERT_TRUE(nvtest::spin_until([&] { return !page.displayNotAnswering(); }));
    EXPECT_EQ(displays.first.values[NVVCP_BRIGHTNESS], 70);
}

TEST_F(PreferencesTest, WithoutDisplaysTheChooserKeepsItsItemAndNothingIsSent)
{
    MonitorSettingsController page;
    auto* chooser = page.findChild<QComboBox*>("displayChooser");
    EXPECT_EQ(chooser->count(), 1);
    EXPECT_EQ(page.control().currentDisplayID, -1);
    page.findChild<QSlider*>("brightnessSlider")->setValue(10);
    page.findChild<QPushButton*>("btnReset")->click();
    EXPECT_FALSE(page.displayNotAnswering());
}

TEST_F(PreferencesTest, MonitorPageListsTheDesktopsDisplaysOnTheirConnectorsAndFollowsChanges)
{
    nvtest::DrmSysfsTree sys;
    const auto left = nvtest::edid_block("NV Left", "L-1", 0);
    const auto panel = nvtest::edid_block("NV Panel", nullptr, 77);
    sys.add("card0-DP-1", left, 5);
    sys.add("card0-eDP-1", panel, -1);
    auto owned = std::make_unique<FakeDisplays>();
    FakeDisplays* desktop = owned.get();
    const std::vector<NVDisplayInfo> two{{1, {0, 0, 1920, 1080}}, {2, {1920, 0, 2560, 1440}}};
    desktop->setDisplays(two, {{"eDP-1", panel}, {"DP-1", left}});
    nvtest::TempDir dev; // no /dev/i2c-5: the bus does not open
    NVDrmDisplaySource source(std::move(owned), sys.root(), dev.path().string());
    MonitorSettingsController::setDisplaySource(&source);

    MonitorSettingsController page;
    auto* chooser = page.findChild<QComboBox*>("displayChooser");
    auto* brightness = page.findChild<QSlider*>("brightnessSlider");
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(0), "1:NV Panel") << "numbered in the desktop's order";
    EXPECT_EQ(chooser->itemText(1), "2:NV Left");
    EXPECT_TRUE(brightness->isEnabled()) << "a display on a DDC bus";
    ASSERT_TRUE(nvtest::spin_until([&] { return page.displayNotAnswering(); })) << "its bus does not open";

    chooser->setCurrentIndex(0);
    EXPECT_TRUE(page.displayNotAnswering()) << "the panel has no DDC lines";
    for (const char* name : {"brightnessSlider", "contrastSlider", "redSlider"})
        EXPECT_FALSE(page.findChild<QSlider*>(name)->isEnabled()) << name;
    for (const char* name : {"btn6500K", "btn9300K", "btnUser", "btnReset", "btnInfo"})
        EXPECT_FALSE(page.findChild<QPushButton*>(name)->isEnabled()) << name;

    desktop->setDisplays({{2, {0, 0, 2560, 1440}}, {1, {2560, 0, 1920, 1080}}}, {{"DP-1", left}, {"eDP-1", panel}});
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(0), "1:NV Left") << "a new order is followed";
    EXPECT_EQ(chooser->currentIndex(), 1);
    chooser->setCurrentIndex(0);
    desktop->setDisplays({{2, {0, 0, 1280, 720}}, {1, {1280, 0, 1920, 1080}}}, {{"DP-1", left}, {"eDP-1", panel}});
    EXPECT_EQ(chooser->currentIndex(), 0) << "a change of modes alone keeps the choice";

    desktop->setDisplays({{1, {0, 0, 1920, 1080}}}, {{"eDP-1", panel}});
    ASSERT_EQ(chooser->count(), 1);
    EXPECT_EQ(chooser->itemText(0), "1:NV Panel");
    EXPECT_EQ(page.control().currentDisplayID, 0);
}

TEST_F(PreferencesTest, GeneralPageStartAtLoginUpdateFlagAndUninstall)
{
    LocalNotificationCenter bus;
    GeneralSettingsViewController page(&bus);
    auto* autoRun = page.findChild<QCheckBox*>("btnAutoRun");
    autoRun->setChecked(true);
    ASSERT_TRUE(NuvroUtils::isDaemon());
    if (nvtest::on_path("desktop-file-validate"))
        EXPECT_EQ(std::system(("desktop-file-validate '" + NuvroUtils::daemonPath() + "'").c_str()), 0);
    autoRun->setChecked(false);
    EXPECT_FALSE(NuvroUtils::isDaemon());

    auto* updater = page.findChild<QPushButton*>("btnUpdater");
    EXPECT_TRUE(updater->isVisibleTo(&page));
    bus.post(nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, NVPlistValue(std::string("YES"))}});
    EXPECT_TRUE(didNeedUpdate);
    EXPECT_NE(updater->styleSheet().indexOf("blue"), -1);
    EXPECT_TRUE(page.findChild<QLabel*>("tipsForUpdate")->isVisibleTo(&page));
    bus.post(nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, NVPlistValue(std::string("maybe"))}});
    EXPECT_TRUE(didNeedUpdate) << "other answers leave the flag";
    bus.post(nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, NVPlistValue(std::string("NO"))}});
    EXPECT_FALSE(didNeedUpdate);
    EXPECT_FALSE(page.findChild<QLabel*>("tipsForUpdate")->isVisibleTo(&page));

    NVUserDefaults suite(nvSuiteNuvroTablet);
    suite.set(nvKeyOpenDriver, "1310720-4");
    alertAnswer = 1;
    EXPECT_FALSE(page.onBtnUninstallClicked()) << "cancelled";
    alertAnswer = 0;
    use_fake_pkexec(home.path(), 126);
    EXPECT_FALSE(page.onBtnUninstallClicked()) << "authorisation refused";
    ASSERT_EQ(alerts.size(), 3u);
    EXPECT_EQ(alerts.back().text, qtTrId("str_SET_uninstallFailed"));
    EXPECT_TRUE(suite.has(nvKeyOpenDriver)) << "the hotkey stays with a driver still installed";

    use_fake_pkexec(home.path(), 0);
    EXPECT_TRUE(page.onBtnUninstallClicked());
    qunsetenv("NV_PKEXEC");
    EXPECT_FALSE(suite.has(nvKeyOpenDriver));
}

TEST_F(PreferencesTest, HotkeysPageRecordsResetsAndGivesTheHotkeyBack)
{
    NVUserDefaults suite(nvSuiteNuvroTablet);
    {
        HotkeysSettingViewController page;
        auto* field = page.findChild<QLineEdit*>("shortcutField");
        EXPECT_EQ(field->text().toStdString(), HotkeysUtil::Default4OpenDriver().description());
        EXPECT_EQ(HotkeysUtil::registration() == HotkeysUtil::Registration::Registered, false)
            << "released while the page records";

        page.listener().addShortcut(NVShortcut::shortcutWithKeyCode(96, false, true, true, false));
        EXPECT_EQ(suite.string(nvKeyOpenDriver), std::to_string(NV_MOD_OPTION | NV_MOD_SHIFT) + "-96");
        page.listener().addShortcut(NVShortcut::shortcutWithKeyCode(56, true, false, false, false));
        EXPECT_EQ(suite.string(nvKeyOpenDriver), std::to_string(NV_MOD_OPTION | NV_MOD_SHIFT) + "-96")
            << "a modifier alone is not recorded";

        bool raised = false;
        const auto token =
            nv_ui_center().observe(nvUiHotkeyChanged, [&](const std::string&, const NVPlistDict&) { raised = true; });
        page.onClearHotkeys();
        nv_ui_center().removeObserver(token);
        EXPECT_TRUE(raised);

        page.findChild<QPushButton*>("btnReset")->click();
        EXPECT_EQ(suite.string(nvKeyOpenDriver), "1310720-4");
        page.windowClosed();
        EXPECT_NE(HotkeysUtil::registration(), HotkeysUtil::Registration::None) << "registered again on close";
    }
    HotkeysUtil::unregisterOpenDriverHotkeys();
}

TEST_F(PreferencesTest, APressOfTheHotkeyIsPostedAndAGrabHeldElsewhereIsTaken)
{
    nvtest::PrivateXvfb x;
    if (x.display().empty() || !nvtest::on_path("xdotool"))
        GTEST_SKIP() << "needs Xvfb and xdotool";
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    const QByteArray savedSession = qgetenv("XDG_SESSION_TYPE");
    qputenv("DISPLAY", QByteArray::fromStdString(x.display()));
    qunsetenv("XDG_SESSION_TYPE");
    auto press = [&] { return std::system(("DISPLAY=" + x.display() + " xdotool key ctrl+super+h").c_str()) == 0; };

    int raised = 0;
    const auto token = nv_ui_center().observe(nvUiHotkeyChanged, [&](const std::string&, const NVPlistDict&) { ++raised; });
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Registered);
    EXPECT_FALSE(HotkeysUtil::hasExclusionShortcut());
    ASSERT_TRUE(press());
    EXPECT_TRUE(nvtest::spin_until([&] { return raised == 1; }));

    HotkeysUtil::unregisterOpenDriverHotkeys();
    auto other = XcbHotkey::connect(x.display().c_str());
    ASSERT_TRUE(other);
    ASSERT_EQ(other->grab(43, 4 | 64), XcbHotkey::Grab::Grabbed);
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Taken);
    EXPECT_TRUE(HotkeysUtil::hasExclusionShortcut()) << "a grab another client holds is reported";
    {
        HotkeysSettingViewController page;
        page.listener().addShortcut(HotkeysUtil::Default4OpenDriver());
        EXPECT_TRUE(page.findChild<QLabel*>("warnningImage")->isVisibleTo(&page)) << "the page warns of it";
        page.listener().addShortcut(NVShortcut::shortcutWithKeyCode(4, true, false, true, false));
        EXPECT_FALSE(page.findChild<QLabel*>("warnningImage")->isVisibleTo(&page));
        EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::None) << "released while recording";
    }

    // A new shortcut is registered where the old one was taken.
    HotkeysUtil::saveOpenDriverShortcut(NVShortcut::shortcutWithKeyCode(4, true, true, false, false));
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Registered);
    ASSERT_TRUE(std::system(("DISPLAY=" + x.display() + " xdotool key ctrl+alt+h").c_str()) == 0);
    EXPECT_TRUE(nvtest::spin_until([&] { return raised == 2; }));

    HotkeysUtil::unregisterOpenDriverHotkeys();
    other.reset();
    x.stop();
    EXPECT_TRUE(nvtest::spin_until([] { return HotkeysUtil::registration() == HotkeysUtil::Registration::None; }))
        << "the server went: the hotkey is dropped, not polled forever";
    nv_ui_center().removeObserver(token);
    qputenv("DISPLAY", savedDisplay);
    if (!savedSession.isEmpty())
        qputenv("XDG_SESSION_TYPE", savedSession);
}
