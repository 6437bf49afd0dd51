#include "helper/app/NVProgressNotice.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";

QDBusMessage notifications_call(const char* method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

} // namespace

NVProgressNotice::NVProgressNotice(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus))
{
}

void NVProgressNotice::start(const QString& packageName)
{
    packageName_ = packageName;
    throttle_ = NVProgressThrottle();
    finished_ = false;
    clock_.start();
    progress(0, 0);
}

void NVProgressNotice::progress(qint64 received, qint64 total)
{
    if (const auto percent = throttle_.report(clock_.elapsed(), received, total))
        show(*percent);
}

void NVProgressNotice::show(int percent)
{
    QDBusMessage call = notifications_call("Notify");
    const QString body = qtTrId("str_HLP_downloadProgress").arg(packageName_).arg(percent);
    call << QString("NuvroHelper") << id_ << QString("system-software-update") << qtTrId("str_HLP_downloading") << body
         << QStringList() << QVariantMap{{"value", percent}, {"transient", true}} << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        const QDBusPendingReply<uint> reply = *watcher;
        if (!reply.isError())
            id_ = reply.value();
        if (finished_)
            close();
        watcher->deleteLater();
    });
}

void NVProgressNotice::finish()
{
    finished_ = true;
    close();
}

void NVProgressNotice::close()
{
    if (id_ == 0)
        return;
    QDBusMessage call = notifications_call("CloseNotification");
    call << id_;
    bus_.asyncCall(call);
    id_ = 0;
}
