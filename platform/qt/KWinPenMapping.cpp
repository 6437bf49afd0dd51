#include "platform/qt/KWinPenMapping.h"

#include "core/log/NVLog.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStringList>

namespace {

constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kWholeDesktop = "mapToWorkspace";

QDBusMessage properties(const QString& path, const char* method)
{
    return QDBusMessage::createMethodCall(nvKWinService, path, kProperties, method);
}

// Runs done with the reply once it arrives; the watcher is freed with it.
template <typename Reply, typename Done>
void whenAnswered(QObject* owner, const QDBusPendingCall& call, Done done)
{
    auto* watcher = new QDBusPendingCallWatcher(call, owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner, [watcher, done] {
        done(Reply(*watcher));
        watcher->deleteLater();
    });
}

} // namespace

KWinPenMapping::KWinPenMapping(QDBusConnection bus, QString penName) : bus_(std::move(bus)), penName_(std::move(penName))
{
    // Subscribed before the list is read, so that a device added in between is not missed.
    bus_.connect(nvKWinService, nvKWinInputDevices, nvKWinInputDeviceManager, "deviceAdded", this,
                 SLOT(deviceAdded(QString)));
    bus_.connect(nvKWinService, nvKWinInputDevices, nvKWinInputDeviceManager, "deviceRemoved", this,
                 SLOT(deviceRemoved(QString)));
    auto get = properties(nvKWinInputDevices, "Get");
    get.setArguments({QString(nvKWinInputDeviceManager), QStringLiteral("devicesSysNames")});
    whenAnswered<QDBusPendingReply<QDBusVariant>>(this, bus_.asyncCall(get), [this](const auto& reply) {
        if (reply.isError())
            return;
        for (const QString& sysName : reply.value().variant().toStringList())
            deviceAdded(sysName);
    });
}

void KWinPenMapping::deviceAdded(const QString& sysName)
{
    if (asked_.contains(sysName))
        return;
    asked_.insert(sysName);
    whenAnswered<QDBusPendingReply<QDBusVariant>>(this, get(sysName, "name"), [this, sysName](const auto& name) {
        if (name.isError() || name.value().variant().toString() != penName_)
            return;
        whenAnswered<QDBusPendingReply<QDBusVariant>>(this, get(sysName, kWholeDesktop), [this, sysName](const auto& whole) {
            if (whole.isError()) {
                // A device gone in between is no answer about the setting; Qt 5 and 6
                // name a missing property differently.
                const auto type = whole.error().type();
                if (type != QDBusError::UnknownProperty && type != QDBusError::InvalidArgs)
                    return;
                nv_log("KWinPenMapping: this KWin maps the pen onto one screen only (no whole-desktop mapping before "
                       "Plasma 6)");
                return;
            }
            if (whole.value().variant().toBool())
                nv_log("KWinPenMapping: KWin maps the pen %s over the whole desktop", qPrintable(sysName));
            else
                mapOverDesktop(sysName);
        });
    });
}

void KWinPenMapping::deviceRemoved(const QString& sysName)
{
    asked_.remove(sysName);
}

QDBusPendingCall KWinPenMapping::get(const QString& sysName, const char* property)
{
    auto message = properties(QStringLiteral("%1/%2").arg(nvKWinInputDevices, sysName), "Get");
    message.setArguments({QString(nvKWinInputDevice), QString(property)});
    return bus_.asyncCall(message);
}

void KWinPenMapping::mapOverDesktop(const QString& sysName)
{
    auto set = properties(QStringLiteral("%1/%2").arg(nvKWinInputDevices, sysName), "Set");
    set.setArguments({QString(nvKWinInputDevice), QString(kWholeDesktop), QVariant::fromValue(QDBusVariant(true))});
    whenAnswered<QDBusPendingReply<>>(this, bus_.asyncCall(set), [sysName](const auto& reply) {
        if (reply.isError())
            nv_log("KWinPenMapping: KWin refused to map the pen %s over the whole desktop: %s", qPrintable(sysName),
                   qPrintable(reply.error().message()));
        else
            nv_log("KWinPenMapping: KWin now maps the pen %s over the whole desktop", qPrintable(sysName));
    });
}
