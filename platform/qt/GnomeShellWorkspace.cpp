#include "platform/qt/GnomeShellWorkspace.h"

#include "core/log/NVLog.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

constexpr const char* kShellService = "org.gnome.Shell";

} // namespace

std::unique_ptr<GnomeShellWorkspace> GnomeShellWorkspace::open(QDBusConnection connection)
{
    if (!connection.isConnected() || !connection.interface()->isServiceRegistered(kShellService))
        return nullptr;
    std::unique_ptr<GnomeShellWorkspace> ws(new GnomeShellWorkspace(connection));
    const QString owner = connection.interface()->serviceOwner(nvGnomeFocusService);
    if (owner.isEmpty())
        nv_log("GnomeShellWorkspace: the shell extension %s does not answer: enable it (gnome-extensions enable %s)",
               nvGnomeExtensionUuid, nvGnomeExtensionUuid);
    ws->extensionChanged(owner);
    return ws;
}

GnomeShellWorkspace::GnomeShellWorkspace(QDBusConnection connection)
    : connection_(connection), watcher_(nvGnomeFocusService, connection, QDBusServiceWatcher::WatchForOwnerChange)
{
    connection_.connect(nvGnomeFocusService, nvGnomeFocusPath, nvGnomeFocusInterface, "Changed", this,
                        SLOT(changed(uint, QString)));
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { extensionChanged(owner); });
}

GnomeShellWorkspace::~GnomeShellWorkspace()
{
    connection_.disconnect(nvGnomeFocusService, nvGnomeFocusPath, nvGnomeFocusInterface, "Changed", this,
                           SLOT(changed(uint, QString)));
}

void GnomeShellWorkspace::extensionChanged(const QString& owner)
{
    if (owner == extension_)
        return;
    if (owner.isEmpty())
        nv_log("GnomeShellWorkspace: the shell extension left the session bus, the frontmost application is "
               "followed again when it returns");
    extension_ = owner;
    if (!extension_.isEmpty())
        askCurrent();
}

void GnomeShellWorkspace::askCurrent()
{
    const QString extension = extension_;
    auto* call = new QDBusPendingCallWatcher(
        connection_.asyncCall(
            QDBusMessage::createMethodCall(extension, nvGnomeFocusPath, nvGnomeFocusInterface, "Current")),
        this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, extension](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        QDBusPendingReply<uint, QString> reply = *w;
        if (extension != extension_)
            return;
        if (reply.isError()) {
            nv_log("GnomeShellWorkspace: the shell extension did not tell the focused window (%s)",
                   qPrintable(reply.error().message()));
            return;
        }
        changed(reply.argumentAt<0>(), reply.argumentAt<1>());
    });
}

void GnomeShellWorkspace::changed(uint pid, const QString& ownerName)
{
    activate(int32_t(pid), ownerName.toStdString());
}
