// The helper's work, driven by notifications on the bus: the settings application's version
// starts a check against the update page ("IsNeedUpdateNotification" answers it), its
// confirmation starts the download into Downloads, and the install prompt hands the package
// back ("ConfirmUninstallNotification") or shows it in the file browser.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "helper/app/NVProgressNotice.h"
#include "helper/logic/NVUpdateServer.h"

#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;
struct NVAlert;

// The prompt once the package is in Downloads: install now (first) or later.
NVAlert nv_install_prompt();
// The alert of a quit that cut a download short.
NVAlert nv_quit_alert();

class NVUpdateHelper : public QObject {
    Q_OBJECT
public:
    static constexpr int kPageTimeoutMs = 10000;
    // A download that receives nothing for this long has failed.
    static constexpr int kDownloadStallMs = 5000;
    // A longer update page is not one.
    static constexpr qint64 kPageCap = 4 * 1024 * 1024;

    // Observes the version and the confirmation on bus. downloads: where packages land
    // (asked each time). desktop: the bus of the file browser and the notifications.
    NVUpdateHelper(NotificationCenter& bus, NVUpdateServer server, std::function<QString()> downloads,
                   QDBusConnection desktop = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~NVUpdateHelper() override;

    bool isNeedUpdate() const { return isNeedUpdate_; }
    bool downloading() const { return download_ != nullptr; }

    // After the event loop ended: the user is told when a download is cut short by the quit.
    void applicationWillTerminate();

private:
    struct Download;

    void receiveVersion(const std::string& name, const NVPlistDict& info);
    void receiveDownloadConfirm(const std::string& name, const NVPlistDict& info);
    // The update page as text, trimmed; empty on any failure (infoFromWeb:).
    void infoFromWeb(std::function<void(const std::string& page)> done);
    void downloadDriverNow(const std::string& page);
    void downloadFinished();
    void installPrompt(const QString& path);
    void sendUnInstallMessage(const QString& path);
    // Ends the transfer in progress without a report.
    void cancelDownload();
    void postNetworkError();
    void postMoveFileError();

    NotificationCenter& bus_;
    NVUpdateServer server_;
    std::function<QString()> downloads_;
    QDBusConnection desktop_;
    QNetworkAccessManager* net_;
    NVProgressNotice* progress_;
    std::vector<NotificationCenter::Token> tokens_;
    bool isNeedUpdate_ = false;
    bool pageRequested_ = false; // a confirmed update's page is on its way
    std::unique_ptr<Download> download_;
};
