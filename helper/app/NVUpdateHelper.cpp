#include "helper/app/NVUpdateHelper.h"

#include "core/channel/NVNotificationNames.h"
#include "core/log/NVLog.h"
#include "helper/logic/NVPackageFile.h"
#include "helper/logic/NVUpdatePage.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVReveal.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>

namespace {

const void* current_thread()
{
    return QThread::currentThread();
}

} // namespace

NVAlert nv_install_prompt()
{
    return {qtTrId("str_M_prompt"), qtTrId("str_SET_installInfoText"),
            {qtTrId("str_SET_installNow"), qtTrId("str_SET_installLater")}};
}

NVAlert nv_quit_alert()
{
    return {qtTrId("str_M_prompt"), qtTrId("str_SET_unknowError"), {qtTrId("str_M_ok")}};
}

struct NVUpdateHelper::Download {
    QNetworkReply* reply = nullptr;
    QTemporaryDir dir;
    QFile file;
    std::string packageName;
    std::string head; // the body's first bytes, for the package signature
    qint64 received = 0;
    bool writeFailed = false;

    // Writes what has arrived to the file, keeping the first bytes; a failed write ends the
    // transfer, from the loop, as the end destroys this record.
    void take()
    {
        const QByteArray bytes = reply->readAll();
        if (head.size() < nvPackageMagic.size())
            head.append(bytes.constData(), std::min<size_t>(bytes.size(), nvPackageMagic.size() - head.size()));
        received += bytes.size();
        if (!writeFailed && file.write(bytes) != bytes.size()) {
            writeFailed = true;
            QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
        }
    }
};

NVUpdateHelper::NVUpdateHelper(NotificationCenter& bus, NVUpdateServer server, std::function<QString()> downloads,
                               QDBusConnection desktop, QObject* parent)
    : QObject(parent),
      bus_(bus),
      server_(std::move(server)),
      downloads_(std::move(downloads)),
      desktop_(std::move(desktop)),
      net_(new QNetworkAccessManager(this)),
      progress_(new NVProgressNotice(desktop_, this))
{
    tokens_.push_back(bus_.observe(nvNotificationCurrentVersion, [this](const std::string& name, const NVPlistDict& info) {
        receiveVersion(name, info);
    }));
    tokens_.push_back(bus_.observe(nvNotificationConfirmUpdate, [this](const std::string& name, const NVPlistDict& info) {
        receiveDownloadConfirm(name, info);
    }));
}

NVUpdateHelper::~NVUpdateHelper()
{
    for (auto token : tokens_)
        bus_.removeObserver(token);
    cancelDownload();
}

void NVUpdateHelper::cancelDownload()
{
    if (!download_)
        return;
    disconnect(download_->reply, nullptr, this, nullptr);
    download_->reply->abort();
    download_->reply->deleteLater();
    download_.reset();
    progress_->finish();
}

void NVUpdateHelper::receiveVersion(const std::string& name, const NVPlistDict& info)
{
    const std::string version = nv_plist_string(info, nvKeyCurrentVersion);
    nv_log("收到通知: %s", name.c_str());
    nv_log("收到通知: %s", version.c_str());
    infoFromWeb([this, version](const std::string& page) {
        isNeedUpdate_ = !page.empty() && nv_page_announces_newer(page, version);
        bus_.post(nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, NVPlistValue(isNeedUpdate_ ? "YES" : "NO")}});
    });
}

void NVUpdateHelper::receiveDownloadConfirm(const std::string& name, const NVPlistDict& info)
{
    const std::string message = nv_plist_string(info, nvKeyConfirmMessage);
    nv_log("收到通知: %s", name.c_str());
    nv_log("收到通知: %s", message.c_str());
    if (!nv_message_is_yes(message)) {
        nv_log("收到通知: %s 有问题!", name.c_str());
        return;
    }
    // One update at a time, from the confirmation on: a second one while its page is fetched or
    // its package downloads would fetch and download again into the same file.
    if (pageRequested_ || download_) {
        nv_log("download: one is already in progress, confirmation ignored");
        return;
    }
    pageRequested_ = true;
    infoFromWeb([this](const std::string& page) {
        pageRequested_ = false;
        downloadDriverNow(page);
    });
}

void NVUpdateHelper::infoFromWeb(std::function<void(const std::string&)> done)
{
    QNetworkRequest request(QUrl(QString::fromStdString(server_.pageAddress())));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(kPageTimeoutMs);
    QNetworkReply* reply = net_->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kPageCap) {
            nv_log("update page: longer than %lld bytes, not read", static_cast<long long>(kPageCap));
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            nv_log("网络无法连接...");
            nv_log("SynchronousRequest fail  %s on thread %p!!", reply->errorString().toUtf8().constData(), current_thread());
            done({});
            return;
        }
        const std::string page = reply->readAll().trimmed().toStdString();
        if (page.empty())
            nv_log("网页数据为空.");
        else
            nv_log("SynchronousRequest get data is OK  on thread %p!!", current_thread());
        done(page);
    });
}

void NVUpdateHelper::downloadDriverNow(const std::string& page)
{
    if (page.empty()) {
        nv_log("error is : 服务器繁忙,请求不可达,infoFromWeb无法获取内容...");
        postNetworkError();
        return;
    }
    const auto link = nv_update_link(page);
    const auto packageName = nv_update_package_name(page);
    if (!link || !packageName) {
        nv_log("download: the update page has no package link, nothing downloaded");
        postNetworkError();
        return;
    }
    nv_log("%s", link->c_str());
    if (!nv_update_link_stays_on_server(*link) || !nv_package_name_is_plain(*packageName)) {
        nv_log("download: refused, the link does not stay on %s or the package name is not a plain file name",
               server_.base.c_str());
        postNetworkError();
        return;
    }
    auto download = std::make_unique<Download>();
    download->packageName = *packageName;
    download->file.setFileName(download->dir.filePath(QString::fromStdString(*packageName)));
    if (!download->dir.isValid() || !download->file.open(QIODevice::WriteOnly)) {
        nv_log("移动/保存出错 %s", download->file.errorString().toUtf8().constData());
        postMoveFileError();
        return;
    }
    QNetworkRequest request(QUrl(QString::fromStdString(server_.downloadAddress(*link))));
    request.setTransferTimeout(kDownloadStallMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    nv_log("downloadTask on thread %p", current_thread());
    download->reply = net_->get(request);
    Download* d = download.get();
    connect(d->reply, &QNetworkReply::readyRead, this, [d] { d->take(); });
    connect(d->reply, &QNetworkReply::downloadProgress, progress_, &NVProgressNotice::progress);
    connect(d->reply, &QNetworkReply::finished, this, &NVUpdateHelper::downloadFinished);
    download_ = std::move(download);
    progress_->start(QString::fromStdString(*packageName));
}

void NVUpdateHelper::downloadFinished()
{
    std::unique_ptr<Download> d = std::move(download_);
    d->reply->deleteLater();
    progress_->finish();
    nv_log("downloadTask on thread %p", current_thread());
    if (d->writeFailed) {
        nv_log("移动/保存出错 %s", d->file.errorString().toUtf8().constData());
        postMoveFileError();
        return;
    }
    if (d->reply->error() != QNetworkReply::NoError) {
        nv_log("error is : %s", d->reply->errorString().toUtf8().constData());
        postNetworkError();
        return;
    }
    d->take();
    d->file.close();
    if (d->writeFailed) {
        nv_log("移动/保存出错 %s", d->file.errorString().toUtf8().constData());
        postMoveFileError();
        return;
    }
    const QVariant length = d->reply->header(QNetworkRequest::ContentLengthHeader);
    const auto announced = length.isValid() ? std::optional<uint64_t>(length.toULongLong()) : std::nullopt;
    switch (nv_download_verdict(static_cast<uint64_t>(d->received), announced, d->head)) {
    case NVDownloadVerdict::Short:
        nv_log("error is : the download ended after %lld of %llu bytes", static_cast<long long>(d->received),
               static_cast<unsigned long long>(*announced));
        postNetworkError();
        return;
    case NVDownloadVerdict::NotAPackage:
        nv_log("error is : the server sent something other than a package (an error page?)");
        postNetworkError();
        return;
    case NVDownloadVerdict::Package:
        break;
    }
    const NVPlacement placed = nv_place_download(d->file.fileName().toStdString(), downloads_().toStdString(),
                                                 d->packageName);
    if (placed.result != NVPlaceResult::Placed) {
        nv_log("移动/保存出错 %s", placed.error.c_str());
        postMoveFileError();
        return;
    }
    installPrompt(QString::fromStdString(placed.target.string()));
}

void NVUpdateHelper::installPrompt(const QString& path)
{
    if (nv_alert(nullptr, nv_install_prompt()) == 0) {
        sendUnInstallMessage(path);
    } else {
        nv_log("选择手动安装.");
        nv_reveal_file(desktop_, path);
    }
    nv_log("移动/保存成功");
}

void NVUpdateHelper::sendUnInstallMessage(const QString& path)
{
    bus_.post(nvNotificationConfirmUninstall, {{nvKeyConfirmMessage, NVPlistValue("YES")},
                                               {nvKeyInstallPath, NVPlistValue(path.toStdString())}});
}

void NVUpdateHelper::postNetworkError()
{
    bus_.post(nvNotificationNetworkErrors, {{nvKeyNetworkError, NVPlistValue("NetworkError")}});
}

void NVUpdateHelper::postMoveFileError()
{
    bus_.post(nvNotificationMoveFileError, {{nvKeyMoveFileError, NVPlistValue("move_saveFileError")}});
}

void NVUpdateHelper::applicationWillTerminate()
{
    if (!download_)
        return;
    cancelDownload();
    nv_alert(nullptr, nv_quit_alert());
    nv_log("下载助手被关闭.");
}
