#include "settings/ui/NVReveal.h"

#include "core/log/NVLog.h"

#include <QDBusMessage>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

NVRevealWay nv_reveal_file(const QDBusConnection& bus, const QString& path)
{
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{uri} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return NVRevealWay::FileManager;
    nv_log("reveal: no file manager on the bus (%s), opening the folder", qPrintable(reply.errorMessage()));
    const QString folder = QFileInfo(path).absolutePath();
    return QProcess::startDetached("xdg-open", {folder}) ? NVRevealWay::FolderOpened : NVRevealWay::Failed;
}
