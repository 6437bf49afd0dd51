#include "helper/app/NVDesktopFiles.h"

#include <QDir>
#include <QProcess>

namespace {

constexpr int kAskMs = 5000;

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
