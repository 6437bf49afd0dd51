// The helper's whole flow on a private bus against a local HTTP server: this test plays the
// settings application, the desktop's notification server and its file browser.
#include "core/channel/NVNotificationNames.h"
#include "core/log/NVLog.h"
#include "helper/app/NVDesktopFiles.h"
#include "helper/app/NVUpdateHelper.h"
#include "platform/qt/DBusNotificationCenter.h"
#include "settings/ui/NVAgentLauncher.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVTranslations.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnectionInterface>
#include <QMutex>
#include <QScopeGuard>
#include <QThread>
#include <QProcessEnvironment>
#include <QUrl>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace fs = std::filesystem;
using nvtest::spin_until;

namespace {

constexpr const char* kPagePath = "/linux/Public/html/update.html";
constexpr const char* kPackage = "NuvroTablet_v3.3.0.deb";
const std::string kPackageBody = "!<arch>\ndebian-binary   0           0     0     100644  4         `\n2.0\n";

std::string page_linking(const std::string& href)
{
    return "<html><head><title>Downloads</title></head><body>\n<a href=\"" + href +
           "\" target=\"_blank\">Linux package</a>\n</body></html>\n";
}

// The desktop's notification server: answers Notify with a fresh id, records every call.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    std::vector<uint> replaced; // replaces_id of each Notify
    std::vector<QString> bodies;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString&, uint replacesId, const QString&, const QString&, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        replaced.push_back(replacesId);
        bodies.push_back(body);
        return replacesId ? replacesId : ++last_;
    }
    void CloseNotification(uint id) { closed.push_back(id); }

private:
    uint last_ = 0;
};

// The file browser: records the items it was asked to show. The reveal waits for its
// answer, so it answers from a thread of its own, as another program would.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown() const
    {
        QMutexLocker lock(&mutex_);
        return shown_;
    }

public slots:
    void ShowItems(const QStringList& uris, const QString&)
    {
        QMutexLocker lock(&mutex_);
        shown_ += uris;
    }

private:
    mutable QMutex mutex_;
    QStringList shown_;
};

// serve.py in a folder of the test's own.
class UpdateServer {
public:
    UpdateServer()
    {
        server_.setReadChannel(QProcess::StandardOutput);
        server_.start("python3", {"-u", NV_SERVE_PY, QString::fromStdString(root_.path().string())});
        if (server_.waitForStarted(5000) && server_.waitForReadyRead(10000))
            port_ = QString::fromUtf8(server_.readLine()).trimmed().toInt();
    }
    ~UpdateServer() { stop(); }
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void put(const std::string& path, const std::string& content)
    {
        const fs::path file = root_.path() / path.substr(1);
        fs::create_directories(file.parent_path());
        nvtest::write_file(file, content);
    }
    void stop()
    {
        server_.kill();
        server_.waitForFinished(5000);
    }

private:
    nvtest::TempDir root_;
    QProcess server_;
    int port_ = 0;
};

class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool translated = nv_install_translator(nvtest::qt_app(), nvtest::resources_dir().string());
        ASSERT_TRUE(translated);
        if (bus.address().isEmpty())
            GTEST_SKIP() << "dbus-daemon could not be started";
        ASSERT_GT(server.port(), 0) << "python3 -m http.server could not be started";
        helperConn = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "helper"));
        settingsConn = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "settings"));
        desktopConn = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "desktop"));
        helperBus = std::make_unique<DBusNotificationCenter>(*helperConn);
        settingsBus = std::make_unique<DBusNotificationCenter>(*settingsConn);
        for (const char* name : {nvNotificationIsNeedUpdate, nvNotificationNetworkErrors, nvNotificationMoveFileError,
                                 nvNotificationConfirmUninstall})
            settingsBus->observe(name, [this](const std::string& n, const NVPlistDict& d) { inbox.emplace_back(n, d); });
        // Downloads as xdg-user-dir names it, in a private configuration folder.
        nvtest::write_file(configHome.path() / "user-dirs.dirs",
                           "XDG_DOWNLOAD_DIR=\"" + downloads.path().string() + "/Downloads\"\n");
        answers.alert = [this](const NVAlert& alert) {
            alerts.push_back(alert);
            return answer;
        };
        nv_set_dialog_answers(&answers);
        server.put(kPagePath, page_linking(std::string("/driver/") + kPackage));
        server.put(std::string("/driver/") + kPackage, kPackageBody);
    }
    void TearDown() override
    {
        nv_set_dialog_answers(nullptr);
        helper.reset();
        helperBus.reset();
        settingsBus.reset();
        for (const char* name : {"helper", "settings", "desktop"})
            QDBusConnection::disconnectFromBus(name);
    }

    void startHelper(const std::string& base)
    {
        helper = std::make_unique<NVUpdateHelper>(*helperBus, NVUpdateServer{base, kPagePath}, nv_downloads_folder,
                                                  *helperConn);
    }
    void post(const char* name, const char* key, const char* value)
    {
        settingsBus->post(name, {{key, NVPlistValue(value)}});
    }
    // Waits for the next notification of that name; the ones before it are dropped.
    bool next(const std::string& name, NVPlistDict* info = nullptr, int timeoutMs = 15000)
    {
        auto find = [&] {
            for (size_t i = 0; i < inbox.size(); ++i)
                if (inbox[i].first == name) {
                    if (info)
                        *info = inbox[i].second;
                    inbox.erase(inbox.begin(), inbox.begin() + long(i) + 1);
                    return true;
                }
            return false;
        };
        return spin_until(find, timeoutMs);
    }
    std::string checkVersion(const char* version)
    {
        post(nvNotificationCurrentVersion, nvKeyCurrentVersion, version);
        NVPlistDict info;
        return next(nvNotificationIsNeedUpdate, &info) ? nv_plist_string(info, nvKeyIsNeedUpdate) : "(none)";
    }
    // Confirms the update and waits for the one report the download ends with.
    std::string confirmAndWait()
    {
        post(nvNotificationConfirmUpdate, nvKeyConfirmMessage, "YES");
        const std::vector<std::string> reports{nvNotificationConfirmUninstall, nvNotificationNetworkErrors,
                                               nvNotificationMoveFileError};
        std::string seen;
        spin_until([&] {
            for (const auto& [name, info] : inbox)
                for (const auto& r : reports)
                    if (name == r)
                        seen = name;
            return !seen.empty() || (!helper->downloading() && answer == 1 && !alerts.empty());
        }, 20000);
        return seen;
    }
    fs::path downloadsFolder() const { return downloads.path() / "Downloads"; }

    nvtest::PrivateBus bus;
    UpdateServer server;
    nvtest::ScopedConfigHome configHome;
    nvtest::TempDir downloads;
    std::unique_ptr<QDBusConnection> helperConn, settingsConn, desktopConn;
    std::unique_ptr<DBusNotificationCenter> helperBus, settingsBus;
    std::unique_ptr<NVUpdateHelper> helper;
    std::vector<std::pair<std::string, NVPlistDict>> inbox;
    NVDialogAnswers answers;
    std::vector<NVAlert> alerts;
    int answer = 0;
};

TEST_F(UpdateFlowTest, TheVersionCheckAnswersWhetherTheServerIsNewer)
{
    startHelper(server.base());
    EXPECT_EQ(checkVersion("v3.2.1"), "YES");
    EXPECT_TRUE(helper->isNeedUpdate());
    EXPECT_EQ(checkVersion("v3.3.0"), "NO");
    EXPECT_EQ(checkVersion("v3.4"), "NO") << "fewer than three components";

    server.put(kPagePath, "<html><body>No downloads today.</body></html>");
    EXPECT_EQ(checkVersion("v1.0.0"), "NO");
    server.put(kPagePath, "");
    EXPECT_EQ(checkVersion("v1.0.0"), "NO");
    server.stop();
    EXPECT_EQ(checkVersion("v1.0.0"), "NO") << "server down";
    EXPECT_FALSE(helper->isNeedUpdate());
}

TEST_F(UpdateFlowTest, InstallNowReplacesTheOlderFileAndHandsItsPathBack)
{
    FakeNotifications notifications;
    ASSERT_TRUE(desktopConn->registerObject("/org/freedesktop/Notifications", &notifications,
                                            QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(desktopConn->registerService("org.freedesktop.Notifications"));
    fs::create_directories(downloadsFolder());
    nvtest::write_file(downloadsFolder() / kPackage, "an older download");
    startHelper(server.base());

    EXPECT_EQ(confirmAndWait(), nvNotificationConfirmUninstall);
    NVPlistDict info;
    ASSERT_TRUE(next(nvNotificationConfirmUninstall, &info));
    EXPECT_EQ(nv_plist_string(info, nvKeyConfirmMessage), "YES");
    EXPECT_EQ(nv_plist_string(info, nvKeyInstallPath), (downloadsFolder() / kPackage).string());
    EXPECT_EQ(nvtest::read_file(downloadsFolder() / kPackage), kPackageBody);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].buttons, (QStringList{qtTrId("str_SET_installNow"), qtTrId("str_SET_installLater")}));
    EXPECT_EQ(alerts[0].text, qtTrId("str_SET_installInfoText"));
    EXPECT_FALSE(next(nvNotificationNetworkErrors, nullptr, 200));

    // The progress shown was closed once the server had named it.
    ASSERT_TRUE(spin_until([&] { return !notifications.closed.empty(); }));
    ASSERT_FALSE(notifications.replaced.empty());
    EXPECT_EQ(notifications.replaced.front(), 0u);
    EXPECT_TRUE(notifications.bodies.front().contains(kPackage));
    EXPECT_EQ(notifications.closed, std::vector<uint>{1});
    EXPECT_EQ(fs::directory_iterator(downloadsFolder())->path().filename(), kPackage) << "no partial file left";
}

TEST_F(UpdateFlowTest, ConfirmingTwiceDownloadsOnce)
{
    server.put(std::string("/driver/") + kPackage, kPackageBody + std::string(4 << 20, 'x'));
    startHelper(server.base());
    post(nvNotificationConfirmUpdate, nvKeyConfirmMessage, "YES");
    EXPECT_EQ(confirmAndWait(), nvNotificationConfirmUninstall);
    ASSERT_TRUE(next(nvNotificationConfirmUninstall));
    EXPECT_FALSE(next(nvNotificationConfirmUninstall, nullptr, 500));
    EXPECT_EQ(alerts.size(), 1u);
    EXPECT_EQ(fs::file_size(downloadsFolder() / kPackage), kPackageBody.size() + (4 << 20));
}

TEST_F(UpdateFlowTest, LaterLeavesTheFileAndShowsItInTheFileBrowser)
{
    QThread fileManagerThread;
    fileManagerThread.start();
    FakeFileManager files;
    files.moveToThread(&fileManagerThread);
    const auto stop = qScopeGuard([&] {
        fileManagerThread.quit();
        fileManagerThread.wait();
    });
    ASSERT_TRUE(desktopConn->registerObject("/org/freedesktop/FileManager1", &files, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(desktopConn->registerService("org.freedesktop.FileManager1"));
    answer = 1;
    startHelper(server.base());
    NVLogCapture log;
    confirmAndWait();
    ASSERT_TRUE(spin_until([&] { return !files.shown().isEmpty(); }));
    EXPECT_EQ(files.shown(), QStringList{QUrl::fromLocalFile(QString::fromStdString((downloadsFolder() / kPackage).string())).toString()});
    EXPECT_EQ(nvtest::read_file(downloadsFolder() / kPackage), kPackageBody);
    EXPECT_FALSE(next(nvNotificationConfirmUninstall, nullptr, 200));
    EXPECT_TRUE(log.contains("选择手动安装."));
}

TEST_F(UpdateFlowTest, FailedDownloadsAreNetworkErrorsAndLeaveDownloadsAlone)
{
    startHelper(server.base());
    struct Case {
        const char* what;
        std::string page;
        const char* logged; // why it failed
    };
    const Case cases[] = {
        {"truncated body", page_linking("/short/driver/NuvroTablet_v3.3.0.deb"), "error is : "},
        {"missing package", page_linking("/driver/NuvroTablet_v9.9.9.deb"), "error is : "},
        {"another host", page_linking("http://127.0.0.1:1/driver/NuvroTablet_v3.3.0.deb"), "refused"},
        {"path in the name", page_linking("/driver/../../NuvroTablet_v3.3.0.deb"), "refused"},
        {"no link", "<html><body>driver target</body></html>", "no package link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NVLogCapture log;
        server.put(kPagePath, c.page);
        EXPECT_EQ(confirmAndWait(), nvNotificationNetworkErrors);
        NVPlistDict info;
        ASSERT_TRUE(next(nvNotificationNetworkErrors, &info));
        EXPECT_EQ(nv_plist_string(info, nvKeyNetworkError), "NetworkError");
        EXPECT_TRUE(log.contains(c.logged));
    }
    // An error page served in the package's place.
    server.put(kPagePath, page_linking(std::string("/driver/") + kPackage));
    server.put(std::string("/driver/") + kPackage, "<!DOCTYPE html><html><body>Service unavailable</body></html>");
    NVLogCapture log;
    EXPECT_EQ(confirmAndWait(), nvNotificationNetworkErrors);
    ASSERT_TRUE(next(nvNotificationNetworkErrors));
    EXPECT_TRUE(log.contains("other than a package"));

    server.stop();
    EXPECT_EQ(confirmAndWait(), nvNotificationNetworkErrors) << "server down";
    ASSERT_TRUE(next(nvNotificationNetworkErrors));
    EXPECT_FALSE(fs::exists(downloadsFolder()));
    EXPECT_TRUE(alerts.empty());
}

TEST_F(UpdateFlowTest, AnUnwritableDownloadsFolderIsAMoveError)
{
    // A file where the folder should be: not writable even by root.
    nvtest::write_file(downloadsFolder(), "not a folder");
    startHelper(server.base());
    EXPECT_EQ(confirmAndWait(), nvNotificationMoveFileError);
    NVPlistDict info;
    ASSERT_TRUE(next(nvNotificationMoveFileError, &info));
    EXPECT_EQ(nv_plist_string(info, nvKeyMoveFileError), "move_saveFileError");
    EXPECT_TRUE(alerts.empty());
}

TEST_F(UpdateFlowTest, OnlyAYesStartsADownload)
{
    startHelper(server.base());
    NVLogCapture log;
    post(nvNotificationConfirmUpdate, nvKeyConfirmMessage, "NO");
    ASSERT_TRUE(spin_until([&] { return log.contains("有问题!"); }));
    EXPECT_FALSE(helper->downloading());
    EXPECT_FALSE(fs::exists(downloadsFolder()));
}

// The quit's alert tells of a download cut short, and of nothing else.
TEST_F(UpdateFlowTest, QuittingAlertsOnlyWhileADownloadRuns)
{
    startHelper(server.base());
    helper->applicationWillTerminate();
    EXPECT_TRUE(alerts.empty());

    server.put(kPagePath, page_linking("/slow/driver/NuvroTablet_v3.3.0.deb"));
    post(nvNotificationConfirmUpdate, nvKeyConfirmMessage, "YES");
    ASSERT_TRUE(spin_until([&] { return helper->downloading(); }));
    helper->applicationWillTerminate();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, qtTrId("str_SET_unknowError"));
    EXPECT_FALSE(helper->downloading());
    EXPECT_FALSE(next(nvNotificationNetworkErrors, nullptr, 200)) << "a quit is not a network error";
}

// The real program: the settings side's version sender reaches it as soon as it listens.
TEST_F(UpdateFlowTest, TheProgramAnswersTheVersionSentWhenItStarts)
{
    NVVersionSender sender(*settingsBus, "3.2.1", *settingsConn);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    env.insert("NUVRO_UPDATE_SERVER", QString::fromStdString(server.base()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(NV_HELPER_EXE, {});
    ASSERT_TRUE(program.waitForStarted(5000));
    NVPlistDict info;
    ASSERT_TRUE(next(nvNotificationIsNeedUpdate, &info));
    EXPECT_EQ(nv_plist_string(info, nvKeyIsNeedUpdate), "YES");

    // A second one leaves the answering to the first.
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(NV_HELPER_EXE, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(next(nvNotificationIsNeedUpdate, nullptr, 300)) << "no second version was asked for";
    // A sender made while the helper listens sends at once.
    NVVersionSender current(*settingsBus, "3.3.0", *settingsConn);
    ASSERT_TRUE(next(nvNotificationIsNeedUpdate, &info));
    EXPECT_EQ(nv_plist_string(info, nvKeyIsNeedUpdate), "NO");

    // An ordinary quit shows no alert (it would wait for a click forever here).
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST(NVDesktopFiles, DownloadsIsWhatXdgUserDirNames)
{
    nvtest::qt_app();
    nvtest::ScopedConfigHome home;
    nvtest::write_file(home.path() / "user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"/srv/somewhere/Dl\"\n");
    EXPECT_EQ(nv_downloads_folder(), "/srv/somewhere/Dl");
}

} // namespace

#include "UpdateFlow_test.moc"
