#include "helper/app/NVDesktopFiles.h"

#include "core/log/NVLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

constexpr int kAskMs = 5000;

void open_folder(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QProcess::startDetached("xdg-open", {folder}))
        nv_log("reveal: neither a file browser nor xdg-open could show %s", path.toUtf8().constData());
}

} // namespace

QString nv_downloads_folder()
{
    QProcess ask;
    ask.start("xdg-user-dir", {"DOWNLOAD"});
    if (ask.waitForFinished(kAskMs) && ask.exitStatus() == QProcess::NormalExit && ask.exitCode() == 0) {
        const QString folder = QString::fromLocal8Bit(ask.readAllStandardOutput()).trimmed();
        if (!folder.isEmpty())
            return folder;
    }
    return QDir::homePath() + "/Downloads";
}

void nv_reveal_file(const QString& path, QDBusConnection bus)
{
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [watcher, path] {
        if (watcher->isError())
            open_folder(path);
        watcher->deleteLater();
    });
}
