// The settings application's windows, offscreen, on a private session bus: the enabling
// rules, the brand check, the battery, import and export, the uninstall, and the real
// agent on the other end.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/MainWindowController.h"
#include "settings/ui/NVAgentLauncher.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVTranslations.h"
#include "settings/ui/VControllerEkeyVal.h"
#include "settings/ui/VControllerInfo.h"
#include "settings/ui/ViewController.h"

#include "tests/qt/QtTestSupport.h"
#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using nvtest::ui_app;

struct CountingRestarter : NVAgentRestarter {
    int restarts = 0;
    void restartAgent() override { ++restarts; }
};

NVTabletInfo tablet_of(const char* identity)
{
    const NVModelInfo* m = nv_model_by_identity(identity);
    if (!m)
        return NVTabletInfo{};
    NVTabletInfo ti = nv_model_tablet_info(*m);
    std::strcpy(ti.sDevVer, "FW-2.07");
    return ti;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (bus.address().isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        NVAppContext& ctx = nv_app_context();
        ctx.resPath = nvtest::resources_dir().string();
        ctx.bundle = nv_read_bundle_info(ctx.resPath);
        ctx.restarter = &restarter;
        // The helper is not started from the build: it would outlive the test.
        ctx.binDir = emptyBin.path().string();
        nv_set_res_path(ctx.resPath);
        static bool translated = nv_install_translator(app, ctx.resPath);
        (void)translated;
        std::memset(&g_ui, 0, sizeof g_ui);
        nv_ui_globals_init();

        connection = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "ui-test"));
        center = std::make_unique<DBusNotificationCenter>(*connection);
        NVConfigIO::setNotificationCenter(center.get());
        answers.alert = [this](const NVAlert& a) {
            alerts.push_back(a);
            return alertAnswer;
        };
        answers.file = [this](const QString&) { return chosenFile; };
        nv_set_dialog_answers(&answers);
        window = std::make_unique<MainWindowController>(*center);
        view().watchAgent(*connection);
        QObject::connect(&ui_app(), &QCoreApplication::aboutToQuit, window.get(), [this] { quitAsked = true; });
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        nv_set_dialog_answers(nullptr);
        NVConfigIO::setNotificationCenter(nullptr);
        center.reset();
        connection.reset();
        QDBusConnection::disconnectFromBus("ui-test");
        nv_ui_globals_free();
        nv_set_res_path({});
        nv_app_context().restarter = nullptr;
        nv_app_context().binDir.clear();
    }

    ViewController& view() { return *window->viewController(); }
    template <class W>
    W* find(const char* outlet)
    {
        W* w = window->findChild<W*>(outlet);
        EXPECT_NE(w, nullptr) << outlet;
        return w;
    }
    bool enabled(const char* outlet) { return find<QWidget>(outlet)->isEnabled(); }
    // OK, Apply, Import, Export, Default of the main view, in that order.
    std::array<bool, 5> buttons()
    {
        return {enabled("_btnOk"), enabled("_btnApply"), view().findChild<QPushButton*>("_btnImport")->isEnabled(),
                view().findChild<QPushButton*>("_btnExport")->isEnabled(),
                view().findChild<QPushButton*>("_btnDefault")->isEnabled()};
    }
    std::array<bool, 4> tabs()
    {
        std::array<bool, 4> t{};
        for (int i = 0; i < 4; ++i)
            t[i] = enabled(QString("_switchBtns%1").arg(i).toLatin1().constData());
        return t;
    }
    VControllerInfo* infoPage() { return dynamic_cast<VControllerInfo*>(view().currentPage()); }
    void edit()
    {
        g_ui.cfg.rotateAngle = 180;
        NVSubViewController::notifyNVConfigChangedToMainView();
    }

    // First, before the bus: the process's application is a QApplication.
    QApplication& app = ui_app();
    nvtest::PrivateBus bus;
    nvtest::ScopedConfigHome home;
    nvtest::TempDir emptyBin;
    std::unique_ptr<QDBusConnection> connection;
    std::unique_ptr<DBusNotificationCenter> center;
    CountingRestarter restarter;
    NVDialogAnswers answers;
    std::vector<NVAlert> alerts;
    int alertAnswer = 0;
    QString chosenFile;
    bool quitAsked = false;
    std::unique_ptr<MainWindowController> window;
};

using Buttons = std::array<bool, 5>;
using Tabs = std::array<bool, 4>;

} // namespace

TEST_F(SettingsWindowTest, EnablingRulesThroughConnectEditApplyAndDisconnect)
{
    EXPECT_EQ(buttons(), (Buttons{false, false, false, false, false}));
    EXPECT_EQ(tabs(), (Tabs{false, false, false, false}));
    ASSERT_NE(infoPage(), nullptr) << "the info page shows without a tablet";

    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    EXPECT_TRUE(g_ui.bTabletOpened);
    EXPECT_EQ(find<QLabel>("_labelTabletState")->text(), qtTrId("str_I_dev_opened"));
    EXPECT_EQ(buttons(), (Buttons{false, false, true, true, true}));
    EXPECT_EQ(tabs(), (Tabs{true, true, true, false}));

    view().clickSwitch(NVTAB_PEN);
    EXPECT_EQ(view().currentPage()->objectName(), "VCPen");
    EXPECT_EQ(tabs(), (Tabs{true, false, true, true}));
    edit();
    EXPECT_EQ(buttons(), (Buttons{true, true, true, true, true}));

    find<QPushButton>("_btnApply")->click();
    EXPECT_EQ(buttons(), (Buttons{false, false, true, true, true}));

    edit();
    view().handleTabletInfo(NVTabletInfo{});
    EXPECT_FALSE(g_ui.bTabletOpened);
    EXPECT_EQ(find<QLabel>("_labelTabletState")->text(), qtTrId("str_I_dev_closed"));
    EXPECT_EQ(buttons(), (Buttons{false, false, false, false, false}));
    EXPECT_EQ(tabs(), (Tabs{false, false, false, false}));
    ASSERT_NE(infoPage(), nullptr) << "an unplug goes back to the info page";

    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    EXPECT_NE(g_ui.cfg.rotateAngle, 180u) << "a reconnect reads the stored configuration, not the unapplied edit";
}

TEST_F(SettingsWindowTest, EveryControlHasItsOutletAndAnAccessibleName)
{
    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    for (const char* outlet : {"_btnOk", "_btnApply", "_btnClose", "_btnImport", "_btnExport", "_btnDefault",
                               "_switchBtns0", "_switchBtns3", "_switchLabel2", "_labelTabletState", "_container",
                               "_labelCompany", "_labelVersion", "_btnWeb", "_imgTablet"}) {
        QWidget* w = find<QWidget>(outlet);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->accessibleName().isEmpty()) << outlet;
        EXPECT_FALSE(w->accessibleName().startsWith("str_")) << outlet << " shows a key, not a text";
    }
    EXPECT_EQ(window->windowTitle(), qtTrId("str_M_Tablet"));
    EXPECT_TRUE(find<QLabel>("_labelVersion")->text().contains("1.0.0"));
}

TEST_F(SettingsWindowTest, AModelOfAnotherBrandStaysDisconnected)
{
    view().handleTabletInfo(tablet_of("OEM02_P1C5"));
    EXPECT_FALSE(g_ui.bTabletOpened);
    EXPECT_EQ(buttons(), (Buttons{false, false, false, false, false}));
    EXPECT_EQ(tabs(), (Tabs{false, false, false, false}));
    view().handleTabletInfo(tablet_of("OEM19_T9D1"));
    EXPECT_TRUE(g_ui.bTabletOpened);
}

TEST_F(SettingsWindowTest, BatteryIsPolledAndItsDisplayBuiltOnceFromTheFirstReport)
{
    int queries = 0;
    center->observe(nvNotificationQueryBatteryPower, [&](const std::string&, const NVPlistDict&) { ++queries; });
    view().handleTabletInfo(tablet_of("NUVRO_T273"));
    ASSERT_TRUE(nvtest::spin_until([&] { return queries >= 1; }));
    EXPECT_EQ(view().findChildren<QTimer*>().size(), 1);
    view().handleTabletInfo(tablet_of("NUVRO_T273"));
    EXPECT_EQ(view().findChildren<QTimer*>().size(), 1) << "one poll timer however often the tablet is announced";

    center->post(nvNotificationQueryBatteryPowerForUI, {{nvKeyCurrentPower, NVPlistValue(int32_t{3})}});
    ASSERT_TRUE(nvtest::spin_until([&] { return view().findChild<QLabel*>("_batterylabel") != nullptr; }));
    EXPECT_EQ(find<QLabel>("_batterylabel")->text(), "20%");
    EXPECT_FALSE(find<QLabel>("_batteryImageView")->pixmap().isNull()) << "the 20 % picture is there";

    center->post(nvNotificationQueryBatteryPowerForUI, {{nvKeyCurrentPower, NVPlistValue(int32_t{128})}});
    nvtest::spin_until([] { return false; }, 200);
    EXPECT_EQ(view().findChildren<QLabel*>("_batterylabel").size(), 1);
    EXPECT_EQ(find<QLabel>("_batterylabel")->text(), "20%") << "later reports do not replace the display";
}

TEST_F(SettingsWindowTest, ImportOfAFileThatIsNoConfigurationChangesNothing)
{
    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    const NVConfig before = g_ui.cfg;
    const std::string stored = nvtest::read_file(getConfigUserFullPath());
    const auto bad = home.path() / "notes.xml";
    nvtest::write_file(bad, "<?xml version=\"1.0\"?><shopping><item>milk</item></shopping>");
    chosenFile = QString::fromStdString(bad.string());

    view().clickImport();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, qtTrId("str_I_XML_file_invalid"));
    EXPECT_EQ(std::memcmp(&before, &g_ui.cfg, sizeof before), 0);
    EXPECT_EQ(buttons(), (Buttons{false, false, true, true, true}));

    alerts.clear();
    infoPage()->clickImport();
    ASSERT_EQ(alerts.size(), 2u) << "the confirmation, then the refusal";
    EXPECT_EQ(alerts[1].text, qtTrId("str_I_XML_file_invalid"));
    EXPECT_EQ(std::memcmp(&before, &g_ui.cfg, sizeof before), 0);
    EXPECT_EQ(nvtest::read_file(getConfigUserFullPath()), stored);
    EXPECT_EQ(restarter.restarts, 0) << "the agent keeps running";
    EXPECT_EQ(buttons(), (Buttons{false, false, true, true, true}));
}

TEST_F(SettingsWindowTest, ExportThenImportRoundTripsAndOnlyTheInfoPageImportEnablesApply)
{
    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    const auto file = home.path() / "exported.xml";
    chosenFile = QString::fromStdString(file.string());
    g_ui.cfg.rotateAngle = 90;
    g_ui.cfg.pressFactor = 7;
    infoPage()->findChild<QPushButton*>("_btnExport")->click();
    ASSERT_TRUE(std::filesystem::exists(file));

    g_ui.cfg.rotateAngle = 0;
    g_ui.cfg.pressFactor = 0;
    view().clickImport();
    EXPECT_EQ(g_ui.cfg.rotateAngle, 90u);
    EXPECT_EQ(g_ui.cfg.pressFactor, 7);
    EXPECT_EQ(buttons(), (Buttons{false, false, true, true, true})) << "the main view's import leaves OK and Apply";

    g_ui.cfg.rotateAngle = 0;
    alertAnswer = 1; // cancel the confirmation
    infoPage()->clickImport();
    EXPECT_EQ(g_ui.cfg.rotateAngle, 0u);
    alertAnswer = 0;
    infoPage()->clickImport();
    EXPECT_EQ(g_ui.cfg.rotateAngle, 90u);
    EXPECT_EQ(buttons(), (Buttons{true, true, true, true, true}));
    EXPECT_EQ(restarter.restarts, 0) << "an exported file has per-application paths";
    NVConfig stored{};
    ASSERT_TRUE(NVConfigIO::readXml(std::string(), &stored, &g_ui.ti));
    EXPECT_EQ(stored.rotateAngle, 90u) << "the import is stored as the user's file at once";
}

TEST_F(SettingsWindowTest, ImportOfAFileWithoutApplicationPathsRestartsTheAgent)
{
    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    const auto file = home.path() / "exported.xml";
    chosenFile = QString::fromStdString(file.string());
    infoPage()->clickExport();
    std::string xml = nvtest::read_file(file);
    for (size_t at; (at = xml.find("<appPath>")) != std::string::npos;)
        xml.erase(at, xml.find("</appPath>", at) + std::strlen("</appPath>") - at);
    nvtest::write_file(file, xml);
    infoPage()->clickImport();
    EXPECT_EQ(restarter.restarts, 1);
}

TEST_F(SettingsWindowTest, DefaultAndTheFirmwareKeySequence)
{
    view().handleTabletInfo(tablet_of("NUVRO_T62E"));
    currentAppIndex = 3;
    g_ui.cfg.rotateAngle = 270;
    infoPage()->clickDefualtConfig();
    EXPECT_EQ(currentAppIndex, 0);
    EXPECT_NE(g_ui.cfg.rotateAngle, 270u);
    EXPECT_EQ(buttons(), (Buttons{true, true, true, true, true}));

    QWidget* info = infoPage()->findChild<QWidget*>("_infoView");
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods) {
        QKeyEvent e(QEvent::KeyPress, key, mods);
        QCoreApplication::sendEvent(info, &e);
    };
    press(Qt::Key_Q, Qt::NoModifier);
    press(Qt::Key_Z, Qt::NoModifier);
    press(Qt::Key_K, Qt::NoModifier);
    EXPECT_EQ(find<QLabel>("_labelCompany")->text(), qtTrId("str_I_company"));
    for (Qt::Key k : {Qt::Key_Q, Qt::Key_Z, Qt::Key_K})
        press(k, Qt::ControlModifier);
    EXPECT_EQ(find<QLabel>("_labelCompany")->text(), "FW-2.07");
}

TEST_F(SettingsWindowTest, AFailedUninstallIsReportedAndTheApplicationStays)
{
    const auto fake = home.path() / "pkexec";
    const auto argvFile = home.path() / "argv";
    nvtest::write_file(fake, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + argvFile.string() + "'\nexit 126\n");
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    qputenv("NV_PKEXEC", QByteArray::fromStdString(fake.string()));

    center->post(nvNotificationConfirmUninstall, {{nvKeyInstallPath, NVPlistValue(std::string())}});
    ASSERT_TRUE(nvtest::spin_until([&] { return !alerts.empty(); }, 10000));
    qunsetenv("NV_PKEXEC");
    EXPECT_EQ(alerts[0].text, qtTrId("str_SET_uninstallFailed"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(quitAsked);
    const std::string argv = nvtest::read_file(argvFile);
    EXPECT_NE(argv.find("/nuvro-remove\n"), std::string::npos) << argv;
    EXPECT_NE(argv.find("kill\nNuvroAgent\n"), std::string::npos) << argv;
}

// The real agent on the other end of the bus.
TEST_F(SettingsWindowTest, TheSimulatedTabletShowsAndApplyReachesTheAgent)
{
    nvtest::TestAgent agent(bus.address(), {"--simulate", "--print-events"});
    ASSERT_TRUE(agent.started());
    ASSERT_TRUE(agent.waitForTablet(*center)) << "the agent announces its tablet";
    ASSERT_TRUE(nvtest::spin_until([] { return g_ui.bTabletOpened; })) << "the window shows it";
    EXPECT_EQ(buttons(), (Buttons{false, false, true, true, true}));

    const NVTabletInfo ti = g_ui.ti;
    const uint32_t rotated = g_ui.cfg.rotateAngle == 90 ? 180 : 90;
    g_ui.cfg.rotateAngle = rotated;
    NVSubViewController::notifyNVConfigChangedToMainView();
    find<QPushButton>("_btnApply")->click();
    nvtest::spin_until([] { return false; }, 500);
    // The settings side has not saved; what the agent writes at its shutdown is the record
    // it took over.
    ASSERT_TRUE(agent.stop());
    NVConfig stored{};
    ASSERT_TRUE(NVConfigIO::readXml(std::string(), &stored, &ti));
    EXPECT_EQ(stored.rotateAngle, rotated);
}

TEST_F(SettingsWindowTest, AKeyFunctionChosenInTheDialogIsPerformedByTheAgentAfterApply)
{
    nvtest::TestAgent runner(bus.address(), {"--simulate=NUVRO_P7B0", "--print-events", "--feed-reports"});
    ASSERT_TRUE(runner.started());
    ASSERT_TRUE(runner.waitForTablet(*center));
    ASSERT_TRUE(nvtest::spin_until([] { return g_ui.bTabletOpened; }));
    QProcess& agent = runner.process();
    QByteArray printed;
    const auto pressHardKey0 = [&] {
        agent.write("08 e0 00 00 01 00 00 00 00 00 00 00\n08 e0 00 00 00 00 00 00 00 00 00 00\n");
    };
    // Control with C, the third key of the name table.
    const auto performed = [&] {
        printed += agent.readAllStandardOutput();
        return printed.contains("\"key\":8,") && printed.contains("\"flags\":262144");
    };

    // The agent announces its tablet again when it opens the tablet's reports, and every
    // announcement reloads the record from the file: edit only once the key answers.
    ASSERT_TRUE(nvtest::spin_until([&] {
        printed += agent.readAllStandardOutput();
        printed.clear();
        pressHardKey0();
        return nvtest::spin_until([&] {
            printed += agent.readAllStandardOutput();
            return printed.contains("\"key\":59,");
        }, 300);
    }, 10000)) << printed.toStdString();
    nvtest::spin_until([] { return false; }, 300);

    VControllerEkeyVal dialog;
    dialog.setPekey(&g_ui.cfg.contexts[0].hbtns[0]);
    // The key's own function is Control alone: Control stays, C joins it.
    auto* ctrl = dialog.findChild<QCheckBox*>("_chkCtrl");
    if (!ctrl->isChecked())
        ctrl->click();
    dialog.findChild<QComboBox*>("_pbtnKey")->setCurrentIndex(2);
    dialog.clickBtnKey(2);
    dialog.findChild<QPushButton*>("_btnOk")->click();
    NVSubViewController::notifyNVConfigChangedToMainView();

    // Before Apply the agent still has its own function on the key.
    pressHardKey0();
    EXPECT_FALSE(nvtest::spin_until(performed, 1000)) << printed.toStdString();
    find<QPushButton>("_btnApply")->click();
    // The record reaches the agent over the bus, the key on its input: pressed until it shows.
    EXPECT_TRUE(nvtest::spin_until([&] {
        printed += agent.readAllStandardOutput();
        printed.clear();
        pressHardKey0();
        return nvtest::spin_until(performed, 300);
    }, 5000)) << printed.toStdString();

    ASSERT_TRUE(runner.stop());
}

TEST_F(SettingsWindowTest, AnAgentThatQuitsAndComesBackIsNoticed)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // The window asks by itself when the agent appears on the bus.
        nvtest::TestAgent agent(bus.address(), {"--simulate", "--print-events"});
        ASSERT_TRUE(agent.started());
        ASSERT_TRUE(nvtest::spin_until([] { return g_ui.bTabletOpened; }, 10000));
        EXPECT_EQ(find<QLabel>("_labelTabletState")->text(), qtTrId("str_I_dev_opened"));
        ASSERT_TRUE(agent.stop());
        ASSERT_TRUE(nvtest::spin_until([] { return !g_ui.bTabletOpened; }, 5000))
            << "the tablet goes with the agent";
        EXPECT_EQ(buttons(), (Buttons{false, false, false, false, false}));
    }
}

TEST_F(SettingsWindowTest, ACorruptUserFileIsReplacedByTheDefault)
{
    NVConfig defaults{};
    const NVTabletInfo ti = tablet_of("NUVRO_T62E");
    NVConfigIO::readDefaultConfig(&defaults, &ti);
    nvtest::write_file(getConfigUserFullPath(), "<NVDevices><Preset>");
    view().handleTabletInfo(ti);
    EXPECT_TRUE(g_ui.bTabletOpened);
    EXPECT_EQ(std::memcmp(&defaults, &g_ui.cfg, sizeof defaults), 0);
    EXPECT_NE(nvtest::read_file(getConfigUserFullPath()), "<NVDevices><Preset>");
}

TEST_F(SettingsWindowTest, MissingResourcesAndTranslationsLeaveAUsableWindow)
{
    window.reset();
    nvtest::TempDir empty;
    nv_app_context().resPath = empty.path().string();
    EXPECT_FALSE(nv_install_translator(ui_app(), empty.path().string()));
    window = std::make_unique<MainWindowController>(*center);
    window->show();
    EXPECT_TRUE(find<QLabel>("imageView")->pixmap().isNull());
    EXPECT_EQ(find<QLabel>("_labelTabletState")->text(), qtTrId("str_I_dev_closed")) << "no agent answers: disconnected";
    EXPECT_EQ(buttons(), (Buttons{false, false, false, false, false}));
    EXPECT_TRUE(find<QPushButton>("_btnClose")->isEnabled());
}

TEST_F(SettingsWindowTest, ASuccessfulUninstallRunsThePlanOnceAndCloses)
{
    const auto fake = home.path() / "pkexec";
    const auto argvFile = home.path() / "argv";
    nvtest::write_file(fake, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + argvFile.string() + "'\nexit 0\n");
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    qputenv("NV_PKEXEC", QByteArray::fromStdString(fake.string()));
    std::filesystem::create_directories(nv_config_user_dir());

    center->post(nvNotificationConfirmUninstall, {{nvKeyInstallPath, NVPlistValue(std::string())}});
    const bool closed = nvtest::spin_until([&] { return !window->isVisible(); }, 10000);
    qunsetenv("NV_PKEXEC");
    ASSERT_TRUE(closed);
    EXPECT_TRUE(alerts.empty());
    const std::string argv = nvtest::read_file(argvFile);
    EXPECT_EQ(argv.find("/nuvro-remove\n"), argv.rfind("/nuvro-remove\n")) << "pkexec runs once: " << argv;
    for (const std::string& users : {home.path().string(), nv_xdg_config_home()})
        EXPECT_EQ(argv.find(users), std::string::npos) << "nothing of the user's is removed with privileges: " << argv;
    EXPECT_FALSE(std::filesystem::exists(nv_config_user_dir())) << "the user's data folder is removed";
}

TEST_F(SettingsWindowTest, CheckForUpdatesOffersWhatTheHelperFound)
{
    NVPlistDict confirm;
    center->observe(nvNotificationConfirmUpdate, [&](const std::string&, const NVPlistDict& info) { confirm = info; });
    view().checkForUpdates();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, qtTrId("str_SET_updateInfo"));

    center->post(nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, NVPlistValue(std::string("YES"))}});
    ASSERT_TRUE(nvtest::spin_until([] { return didNeedUpdate; }));
    view().checkForUpdates();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1].text, qtTrId("str_SET_updateInfoText"));
    ASSERT_TRUE(nvtest::spin_until([&] { return !confirm.empty(); }));
    EXPECT_EQ(nv_plist_string(confirm, nvKeyConfirmMessage), "YES");

    center->post(nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, NVPlistValue(std::string("NO"))}});
    ASSERT_TRUE(nvtest::spin_until([] { return !didNeedUpdate; }));
    center->post(nvNotificationNetworkErrors, {{nvKeyNetworkError, NVPlistValue(std::string("timeout"))}});
    ASSERT_TRUE(nvtest::spin_until([&] { return alerts.size() == 3; }));
    EXPECT_EQ(alerts[2].text, qtTrId("str_SET_poorNetWork"));
}
