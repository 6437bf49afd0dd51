// The per-application list window, offscreen, on a private bus: additions and removals keep
// the user file, the in-memory record, the record sent and the rows in step; the limit,
// duplicates, choosing, icons, reveal.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "core/model/NVText.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppChooser.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVAppIconLoader.h"
#include "settings/ui/NVAppListTableCellView.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVReveal.h"
#include "settings/ui/NVThirdPartAppListController.h"
#include "settings/ui/NVUiCenter.h"

#include "tests/linux/XDesktop.h"
#include "tests/linux/XvfbTestSupport.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QListWidget>
#include <QImage>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// A file with its folders made first.
void write_file(const std::filesystem::path& p, const std::string& content)
{
    std::filesystem::create_directories(p.parent_path());
    nvtest::write_file(p, content);
}

using nvtest::ui_app;

// Answers ShowItems as a file manager does and keeps the items asked for.
class FakeFileManager : public QDBusVirtualObject {
public:
    QStringList shown;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != "ShowItems" || message.arguments().size() != 2)
            return false;
        shown += message.arguments().at(0).toStringList();
        connection.send(message.createReply());
        return true;
    }
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class AppListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (bus.address().isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        NVAppContext& ctx = nv_app_context();
        ctx.resPath = nvtest::resources_dir().string();
        ctx.bundle = nv_read_bundle_info(ctx.resPath);
        nv_set_res_path(ctx.resPath);
        std::memset(&g_ui, 0, sizeof g_ui);
        nv_ui_globals_init();
        const NVModelInfo* m = nv_model_by_identity("NUVRO_T62E");
        ASSERT_NE(m, nullptr);
        g_ui.ti = nv_model_tablet_info(*m);
        g_ui.bTabletOpened = true;
        ASSERT_TRUE(NVConfigIO::readXml({}, &g_ui.cfg, &g_ui.ti));
        currentAppIndex = 0;

        connection = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "applist-test"));
        center = std::make_unique<DBusNotificationCenter>(*connection);
        NVConfigIO::setNotificationCenter(center.get());
        center->observe(nvNotificationCfgSendByUI, [this](const std::string&, const NVPlistDict& info) {
            const NVPlistData& data = nv_plist_data(info, nvKeyCfgValFromUI);
            if (data.size() == sizeof(NVConfig))
                std::memcpy(sent.get(), data.data(), sizeof(NVConfig));
            ++records;
        });
        answers.alert = [this](const NVAlert& a) {
            alerts.push_back(a.text);
            return 0;
        };
        nv_set_dialog_answers(&answers);
        for (const char* name : {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota"})
            program(name);
    }
    void TearDown() override
    {
        list.reset();
        NVAppIconLoader::waitForDone(10000);
        nv_set_dialog_answers(nullptr);
        NVConfigIO::setNotificationCenter(nullptr);
        center.reset();
        connection.reset();
        QDBusConnection::disconnectFromBus("applist-test");
        nv_ui_globals_free();
        nv_set_res_path({});
    }

    std::string program(const std::string& name)
    {
        const fs::path p = apps.path() / "bin" / name;
        if (!fs::exists(p)) {
            write_file(p, "#!/bin/sh\n");
            fs::permissions(p, fs::perms::owner_all);
        }
        return p.string();
    }
    void open()
    {
        list = std::make_unique<NVThirdPartAppListController>();
        list->setAttribute(Qt::WA_DeleteOnClose, false);
        list->setBus(*connection);
        list->show();
    }
    std::vector<std::string> rowNames()
    {
        std::vector<std::string> names;
        for (int r = 0; r < list->rowCount(); ++r)
            names.push_back(list->entryAt(r).nodeName);
        return names;
    }
    int rowOf(const std::string& name)
    {
        const auto names = rowNames();
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    }
    // The user file, the record, the record last sent and the rows tell the same contexts.
    void expectInStep(const std::vector<std::string>& expected)
    {
        const std::vector<std::string> names = NVConfigIO::readAppListWithTabletInfo(&g_ui.ti);
        ASSERT_EQ(names, expected);
        const std::vector<std::string> paths = NVConfigIO::obtainAppPathFromXml({}, nullptr, &g_ui.ti);
        ASSERT_EQ(paths.size(), names.size());
        for (int i = 0; i < NV_CONTEXT_MAX; ++i) {
            const std::string want = i < static_cast<int>(paths.size()) ? paths[i] : std::string();
            EXPECT_EQ(nv_buffer_text(g_ui.cfg.contexts[i].appPath), want) << "context " << i;
            if (i > 0 && i < static_cast<int>(paths.size()))
                EXPECT_EQ(nv_app_entry_for_url(want).nodeName, names[i]);
        }
        ASSERT_TRUE(nvtest::spin_until([&] { return std::memcmp(sent.get(), &g_ui.cfg, sizeof(NVConfig)) == 0; }, 5000))
            << "the record sent is the record held";
        auto rows = rowNames();
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front(), "Default");
        EXPECT_EQ(std::multiset<std::string>(rows.begin(), rows.end()),
                  std::multiset<std::string>(names.begin(), names.end()));
    }

    QApplication& app = ui_app();
    nvtest::PrivateBus bus;
    nvtest::ScopedConfigHome home;
    nvtest::TempDir apps;
    std::unique_ptr<QDBusConnection> connection;
    std::unique_ptr<DBusNotificationCenter> center;
    std::unique_ptr<NVConfig> sent = std::make_unique<NVConfig>();
    int records = 0;
    NVDialogAnswers answers;
    std::vector<QString> alerts;
    std::unique_ptr<NVThirdPartAppListController> list;
};

TEST_F(AppListTest, AdditionsAndRemovalsKeepFileRecordAgentAndRowsInStep)
{
    open();
    ASSERT_EQ(rowNames(), (std::vector<std::string>{"Default"}));
    // Each context gets its own function so that a context moved to the wrong place shows.
    list->addApplication(QString::fromStdString(program("alpha")));
    list->addApplication(QString::fromStdString(program("beta")));
    list->addApplication(QString::fromStdString(program("gamma")));
    expectInStep({"Default", "alpha", "beta", "gamma"});
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"Default", "gamma", "beta", "alpha"})) << "new rows come first";
    for (int i = 1; i < 4; ++i)
        g_ui.cfg.contexts[i].hbtns[0].funcBit = 100 + i;

    list->btnRemoveRowClick(rowOf("beta"));
    expectInStep({"Default", "alpha", "gamma"});
    EXPECT_EQ(g_ui.cfg.contexts[2].hbtns[0].funcBit, 103) << "gamma's functions moved down with it";
    EXPECT_EQ(currentAppIndex, 0);
    EXPECT_EQ(list->selectedRow(), 0);

    list->addApplication(QString::fromStdString(program("delta")));
    expectInStep({"Default", "alpha", "gamma", "delta"});
    list->btnRemoveRowClick(rowOf("alpha"));
    expectInStep({"Default", "gamma", "delta"});
    EXPECT_EQ(g_ui.cfg.contexts[1].hbtns[0].funcBit, 103u);

    // The next window reads the same list, in context order.
    open();
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"Default", "gamma", "delta"}));
}

TEST_F(AppListTest, EightContextsAtMostAndADuplicateIsSelectedNotAdded)
{
    open();
    for (const char* name : {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta"})
        list->addApplication(QString::fromStdString(program(name)));
    ASSERT_EQ(list->rowCount(), 8);
    const std::string before = nvtest::read_file(getConfigUserFullPath());
    list->addApplication(QString::fromStdString(program("theta")));
    EXPECT_EQ(list->rowCount(), 8);
    EXPECT_EQ(nvtest::read_file(getConfigUserFullPath()), before);

    list->btnRemoveRowClick(rowOf("beta"));
    // Another path to the same program, and another program of the same name.
    const fs::path link = apps.path() / "links" / "alias";
    fs::create_directories(link.parent_path());
    fs::create_symlink(program("gamma"), link);
    const std::string before2 = nvtest::read_file(getConfigUserFullPath());
    list->addApplication(QString::fromStdString(link.string()));
    EXPECT_EQ(list->selectedRow(), rowOf("gamma"));
    const fs::path other = apps.path() / "other" / "delta";
    write_file(other, "#!/bin/sh\n");
    fs::permissions(other, fs::perms::owner_all);
    list->addApplication(QString::fromStdString(other.string()));
    EXPECT_EQ(list->selectedRow(), rowOf("delta"));
    EXPECT_EQ(nvtest::read_file(getConfigUserFullPath()), before2) << "nothing written";
    expectInStep({"Default", "alpha", "gamma", "delta", "epsilon", "zeta", "eta"});
}

TEST_F(AppListTest, InstalledApplicationsBySandboxRulesAndRefusals)
{
    const fs::path data = apps.path() / "share";
    ScopedEnv dataHome("XDG_DATA_HOME", data.string());
    ScopedEnv dataDirs("XDG_DATA_DIRS", (apps.path() / "none").string());
    ScopedEnv path("PATH", (apps.path() / "bin").string() + ":/usr/bin:/bin");
    write_file(data / "applications/paint.desktop",
               "[Desktop Entry]\nType=Application\nName=Paint Studio\nIcon=paint\nExec=env A=1 alpha %U\n");
    write_file(data / "applications/broken.desktop",
               "[Desktop Entry]\nType=Application\nName=Broken\nExec=not-installed %U\n");
    QImage icon(64, 32, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    fs::create_directories(data / "icons/hicolor/48x48/apps");
    ASSERT_TRUE(icon.save(QString::fromStdString((data / "icons/hicolor/48x48/apps/paint.png").string())));
    const fs::path image = apps.path() / "bin" / "Tool.AppImage";
    write_file(image, "x");
    fs::permissions(image, fs::perms::owner_all);

    open();
    QString answer = QString::fromStdString((data / "applications/paint.desktop").string());
    std::function<QString()> chooser = [&] { return answer; };
    nv_set_app_chooser_answer(&chooser);
    list->btnInsertNewRow();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->entryAt(1).fileURL, "file://" + fs::canonical(program("alpha")).string());
    EXPECT_EQ(list->cellAt(1)->title(), "Paint Studio");
    // Icons arrive from the loader: the application's own, or the theme's fallback.
    list->addApplication(QString::fromStdString(program("beta")));
    ASSERT_TRUE(nvtest::spin_until([&] { return !list->cellAt(1)->isLoading() && !list->cellAt(2)->isLoading(); }, 10000));
    EXPECT_EQ(list->cellAt(1)->title(), "beta");

    answer = QString::fromStdString((data / "applications/broken.desktop").string());
    list->btnInsertNewRow();
    answer = QString::fromStdString(image.string());
    list->btnInsertNewRow();
    answer.clear(); // cancelled
    list->btnInsertNewRow();
    nv_set_app_chooser_answer(nullptr);
    EXPECT_EQ(alerts, (std::vector<QString>{qtTrId("str_AL_not_found"), qtTrId("str_AL_appimage")}));
    EXPECT_EQ(list->rowCount(), 3);
    expectInStep({"Default", "alpha", "beta"});
}

TEST_F(AppListTest, MissingApplicationsShowTheQuestionMarkAndTheDefaultRowCannotBeRemoved)
{
    NVConfigIO::createAppNodeInXml({}, "file:///nowhere/3D%20Sculpt", &g_ui.ti);
    ASSERT_TRUE(NVConfigIO::readXml({}, &g_ui.cfg, &g_ui.ti));
    open();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->entryAt(1).kind, NVAppEntryKind::Missing);
    EXPECT_EQ(list->cellAt(1)->title(), "3D Sculpt") << "the real name, not the element name";
    EXPECT_EQ(list->entryAt(1).nodeName, "_3DSculpt");
    EXPECT_FALSE(list->cellAt(1)->isLoading()) << "the question mark is there at once";
    EXPECT_FALSE(list->cellAt(0)->isLoading());

    NVAppListTableCellView* def = list->cellAt(0);
    EXPECT_TRUE(def->findChild<QPushButton*>("searchBtn")->isHidden());
    EXPECT_TRUE(def->findChild<QPushButton*>("removeBtn")->isHidden());
    list->btnRemoveRowClick(0);
    EXPECT_EQ(list->rowCount(), 2);

    list->cellAt(1)->findChild<QPushButton*>("removeBtn")->click();
    expectInStep({"Default"});
}

TEST_F(AppListTest, ChoosingSetsTheContextIndexPostsAndHides)
{
    open();
    list->addApplication(QString::fromStdString(program("alpha")));
    list->addApplication(QString::fromStdString(program("beta")));
    int posted = 0;
    const auto token = nv_ui_center().observe(nvUiSelectedAppStartEdit, [&](const std::string&, const NVPlistDict&) { ++posted; });
    list->findChild<QListWidget*>("tableViewMain")->setCurrentRow(rowOf("alpha"));
    list->findChild<QPushButton*>("btnStartEdit")->click();
    EXPECT_EQ(currentAppIndex, 1) << "alpha's context, though its row is 2";
    EXPECT_EQ(posted, 1);
    EXPECT_FALSE(list->isVisible());
    nv_ui_center().removeObserver(token);

    // The next window selects the context being edited; the application's end closes it.
    open();
    EXPECT_EQ(list->selectedRow(), 1);
    nv_ui_center().post(nvUiApplicationTerminate, {});
    EXPECT_FALSE(list->isVisible());
}

TEST_F(AppListTest, RevealAsksTheFileManagerElseOpensTheFolder)
{
    FakeFileManager fm;
    ASSERT_TRUE(connection->registerVirtualObject("/org/freedesktop/FileManager1", &fm));
    ASSERT_TRUE(connection->registerService("org.freedesktop.FileManager1"));
    open();
    list->addApplication(QString::fromStdString(program("alpha")));
    list->cellAt(1)->findChild<QPushButton*>("searchBtn")->click();
    ASSERT_TRUE(nvtest::spin_until([&] { return !fm.shown.isEmpty(); }, 5000));
    EXPECT_EQ(fm.shown, QStringList{QString::fromStdString("file://" + fs::canonical(program("alpha")).string())});
    connection->unregisterService("org.freedesktop.FileManager1");

    const fs::path log = apps.path() / "xdg-open.log";
    const fs::path fake = apps.path() / "fakebin" / "xdg-open";
    write_file(fake, "#!/bin/sh\necho \"$@\" > " + log.string() + ".tmp && mv " + log.string() + ".tmp " + log.string() + "\n");
    fs::permissions(fake, fs::perms::owner_all);
    ScopedEnv path("PATH", fake.parent_path().string() + ":/usr/bin:/bin");
    EXPECT_EQ(nv_reveal_file(*connection, QString::fromStdString(program("alpha"))), NVRevealWay::FolderOpened);
    ASSERT_TRUE(nvtest::spin_until([&] { return fs::exists(log); }, 5000));
    EXPECT_EQ(nvtest::read_file(log), (apps.path() / "bin").string() + "\n");
}

TEST_F(AppListTest, PlacedBesideTheMainWindowPerFlavour)
{
    nv_app_context().bundle.flavour = NVFlavour::Primary;
    open();
    list->setMainWindowFrame(QRect(100, 50, 900, 700));
    EXPECT_EQ(list->geometry(), QRect(748, 750 - 62 - 520, 310, 520));
    nv_app_context().bundle.flavour = NVFlavour::Second;
    list->setMainWindowFrame(QRect(100, 50, 900, 700));
    EXPECT_EQ(list->geometry(), QRect(600, 750 - 78 - 520, 310, 520));
}

TEST_F(AppListTest, TheRunningAgentPerformsTheFrontmostApplicationsFunction)
{
    nvtest::PrivateXvfb x;
    if (x.display().empty())
        GTEST_SKIP() << "Xvfb missing";
    nvtest::Desktop desktop(x.display().c_str());
    ASSERT_TRUE(desktop.ok());
    // The program that will be in front, and its executable as the agent will see it.
    QProcess sleeper;
    sleeper.start("sleep", {"60"});
    ASSERT_TRUE(sleeper.waitForStarted(5000));
    const std::string sleepExe = fs::read_symlink("/proc/" + std::to_string(sleeper.processId()) + "/exe").string();

    // A model whose first express key is Control alone by default.
    g_ui.ti = nv_model_tablet_info(*nv_model_by_identity("NUVRO_P7B0"));
    ASSERT_TRUE(NVConfigIO::readXml({}, &g_ui.cfg, &g_ui.ti));
    nvtest::TestAgent runner(bus.address(), {"--simulate=NUVRO_P7B0", "--print-events", "--feed-reports"},
                             QString::fromStdString(x.display()));
    ASSERT_TRUE(runner.started());
    ASSERT_TRUE(runner.waitForTablet(*center));
    QProcess& agent = runner.process();

    open();
    list->addApplication(QString::fromStdString(sleepExe));
    ASSERT_NE(nv_buffer_text(g_ui.cfg.contexts[1].appPath).find(sleepExe), std::string_view::npos);
    // The application's first key: Control with C. Then Apply.
    NVEkey& key = g_ui.cfg.contexts[1].hbtns[0];
    key.funcBit = 0x04;
    key.kbtn = NVKbtn{};
    key.kbtn.bCtrl = 1;
    key.kbtn.kbKeys[0] = 8;
    NVConfigIO::synchronousCfgData(&g_ui.cfg);

    QByteArray printed;
    const auto pressFirstKey = [&] {
        printed += agent.readAllStandardOutput();
        printed.clear();
        agent.write("08 e0 00 00 01 00 00 00 00 00 00 00\n08 e0 00 00 00 00 00 00 00 00 00 00\n");
    };
    const auto printedKey = [&](const char* key) {
        return [&printed, &agent, key] {
            printed += agent.readAllStandardOutput();
            return printed.contains(key);
        };
    };
    desktop.activate(desktop.window(std::string("sleep\0Sleep\0", 12), uint32_t(sleeper.processId())));
    // The agent hears of the activation on its own connection: the key is pressed until its
    // application's function shows.
    EXPECT_TRUE(nvtest::spin_until([&] {
        pressFirstKey();
        return nvtest::spin_until(printedKey("\"key\":8,"), 300);
    }, 5000)) << printed.toStdString();

    // Another program in front: the default context's Control alone.
    desktop.activate(desktop.window(std::string("other\0Other\0", 12), uint32_t(getpid())));
    EXPECT_TRUE(nvtest::spin_until([&] {
        pressFirstKey();
        return nvtest::spin_until(printedKey("\"key\":59,"), 300) && !printed.contains("\"key\":8,");
    }, 5000)) << printed.toStdString();

    ASSERT_TRUE(runner.stop());
    sleeper.kill();
    sleeper.waitForFinished(5000);
}

} // namespace
