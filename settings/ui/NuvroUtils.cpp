#include "settings/ui/NuvroUtils.h"

#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "platform/linux/XdgAutostart.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVUiCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QUrl>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

QSystemTrayIcon* g_statusItem = nullptr;

void send_badge(bool visible)
{
    QDBusMessage signal =
        QDBusMessage::createSignal("/nuvroapp/NuvroTablet", "com.canonical.Unity.LauncherEntry", "Update");
    QVariantMap props;
    props.insert("count", qint64(visible ? 1 : 0));
    props.insert("count-visible", visible);
    signal << QString("application://%1.desktop").arg(nvSettingsBundleId) << props;
    QDBusConnection::sessionBus().send(signal);
    if (g_statusItem)
        g_statusItem->setToolTip(QString::fromStdString(nv_app_context().bundle.displayName) +
                                 (visible ? " (New)" : ""));
}

} // namespace

std::string NuvroUtils::daemonPath()
{
    return nv_autostart_path(nvSettingsBundleId);
}

bool NuvroUtils::isDaemon()
{
    std::error_code ec;
    return fs::exists(daemonPath(), ec) && !fs::is_directory(daemonPath(), ec);
}

void NuvroUtils::installDaemon()
{
    if (isDaemon())
        return;
    const std::string agent = get_cur_path() + "/NuvroAgent";
    if (!nv_autostart_write(daemonPath(), nvSettingsName, {agent, "-runMode", "autoLaunched"}))
        nv_log("installDaemon: cannot write %s", daemonPath().c_str());
}

void NuvroUtils::unInstallDaemon()
{
    std::error_code ec;
    if (!fs::is_directory(nv_autostart_dir(), ec))
        return;
    nv_log("%s", nvSettingsBundleId);
    fs::remove(daemonPath(), ec);
}

bool NuvroUtils::isNuvroTablet()
{
    return nv_app_context().bundle.displayName == "NuvroTablet";
}

bool NuvroUtils::isKeltaTablet()
{
    return nv_app_context().bundle.displayName == "KeltaTablet";
}

bool NuvroUtils::isTrust()
{
    return ::access("/dev/uinput", W_OK) == 0;
}

bool NuvroUtils::requestTrust()
{
    if (isTrust())
        return true;
    nv_log("requestTrust: /dev/uinput is not writable; install the udev rule and log in again");
    return false;
}

void NuvroUtils::setUpdateTips_New()
{
    send_badge(true);
}

void NuvroUtils::setUpdateTips_Nil()
{
    send_badge(false);
}

QSystemTrayIcon* NuvroUtils::addStatusBarItem(QObject* owner)
{
    auto* item = new QSystemTrayIcon(QIcon(nv_res_file("32.ico")), owner);
    item->setToolTip(QString::fromStdString(nv_app_context().bundle.displayName));
    QObject::connect(item, &QSystemTrayIcon::activated, item,
                     [] { nv_ui_center().post(nvUiHotkeyChanged, {}); });
    QObject::connect(item, &QObject::destroyed, [item] {
        if (g_statusItem == item)
            g_statusItem = nullptr;
    });
    g_statusItem = item;
    if (QSystemTrayIcon::isSystemTrayAvailable())
        item->show();
    return item;
}

QString NuvroUtils::exe2NSString(const char* escaped)
{
    return escaped ? QUrl::fromPercentEncoding(QByteArray(escaped)) : QString();
}

size_t NuvroUtils::exe2PChar(const QString& text, char* buffer, size_t size)
{
    const QByteArray bytes = QUrl::toPercentEncoding(text);
    const size_t n = std::min(size, static_cast<size_t>(bytes.size()));
    if (buffer && n)
        std::memcpy(buffer, bytes.constData(), n);
    return buffer ? n : 0;
}
