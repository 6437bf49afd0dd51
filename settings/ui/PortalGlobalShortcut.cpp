#include "settings/ui/PortalGlobalShortcut.h"

#include "core/log/NVLog.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

// One element of BindShortcuts' a(sa{sv}).
struct NVPortalShortcutEntry {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(NVPortalShortcutEntry)

QDBusArgument& operator<<(QDBusArgument& arg, const NVPortalShortcutEntry& e)
{
    arg.beginStructure();
    arg << e.id << e.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, NVPortalShortcutEntry& e)
{
    arg.beginStructure();
    arg >> e.id >> e.properties;
    arg.endStructure();
    return arg;
}

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// A value the portal may send as a string or as an object path.
QString path_text(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return v.value<QDBusObjectPath>().path();
    return v.toString();
}

} // namespace

PortalGlobalShortcut::PortalGlobalShortcut(QDBusConnection connection, QObject* parent)
    : QObject(parent), connection_(std::move(connection))
{
    qDBusRegisterMetaType<NVPortalShortcutEntry>();
    qDBusRegisterMetaType<QList<NVPortalShortcutEntry>>();
    connection_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                        SLOT(onActivated(QDBusMessage)));
}

PortalGlobalShortcut::~PortalGlobalShortcut()
{
    closeSession();
}

void PortalGlobalShortcut::bind(const QString& id, const QString& description, const QString& trigger)
{
    const bool same = id == id_ && trigger == trigger_;
    if (same && (state_ == State::Bound || state_ == State::Pending))
        return;
    closeSession();
    id_ = id;
    description_ = description;
    trigger_ = trigger;
    const QString token = QStringLiteral("nuvro%1").arg(++next_);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("session_handle_token"), token}};
    createRequest_ = requestPath(token);
    bindRequest_.clear();
    setState(State::Pending);
    request(createRequest_, call);
}

QString PortalGlobalShortcut::requestPath(const QString& token) const
{
    QString sender = connection_.baseService();
    sender.remove(0, sender.startsWith(u':') ? 1 : 0).replace(u'.', u'_');
    return kPath + QStringLiteral("/request/") + sender + u'/' + token;
}

void PortalGlobalShortcut::request(const QString& path, const QDBusMessage& call)
{
    connection_.connect(kService, path, kRequest, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (path != createRequest_ && path != bindRequest_)
            return; // superseded by a later bind
        if (reply.isError()) {
            nv_log("hotkey: the desktop portal offers no global shortcuts (%s)",
                   reply.error().name().toUtf8().constData());
            connection_.disconnect(kService, path, kRequest, QStringLiteral("Response"), this,
                                   SLOT(onResponse(QDBusMessage)));
            setState(State::Unavailable);
            return;
        }
        // A portal that names the request differently is followed to its own path.
        const QString handle = reply.value().path();
        if (handle == path)
            return;
        connection_.disconnect(kService, path, kRequest, QStringLiteral("Response"), this,
                               SLOT(onResponse(QDBusMessage)));
        connection_.connect(kService, handle, kRequest, QStringLiteral("Response"), this,
                            SLOT(onResponse(QDBusMessage)));
        (path == createRequest_ ? createRequest_ : bindRequest_) = handle;
    });
}

void PortalGlobalShortcut::onResponse(const QDBusMessage& message)
{
    const QString path = message.path();
    if (path != createRequest_ && path != bindRequest_)
        return;
    connection_.disconnect(kService, path, kRequest, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    const QVariantList args = message.arguments();
    const uint code = args.value(0).toUInt();
    const QVariantMap results = args.size() > 1 ? qdbus_cast<QVariantMap>(args[1]) : QVariantMap{};
    if (args.size() < 2 || code != 0) {
        nv_log("hotkey: the desktop portal refused the shortcut (response %u)", code);
        if (path == createRequest_)
            createRequest_.clear();
        else
            bindRequest_.clear();
        closeSession();
        setState(State::Unavailable);
        return;
    }
    if (path == createRequest_) {
        createRequest_.clear();
        session_ = path_text(results.value(QStringLiteral("session_handle")));
        if (session_.isEmpty()) {
            setState(State::Unavailable);
            return;
        }
        bindShortcut();
        return;
    }
    bindRequest_.clear();
    setState(State::Bound);
}

void PortalGlobalShortcut::bindShortcut()
{
    const QString token = QStringLiteral("nuvro%1").arg(++next_);
    QVariantMap properties{{QStringLiteral("description"), description_}};
    if (!trigger_.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), trigger_);
    const QList<NVPortalShortcutEntry> shortcuts{{id_, properties}};
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token}};
    bindRequest_ = requestPath(token);
    request(bindRequest_, call);
}

void PortalGlobalShortcut::onActivated(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (state_ != State::Bound || args.size() < 2 || path_text(args[0]) != session_ || args[1].toString() != id_)
        return;
    emit activated();
}

void PortalGlobalShortcut::closeSession()
{
    if (session_.isEmpty())
        return;
    connection_.asyncCall(QDBusMessage::createMethodCall(kService, session_, QStringLiteral("org.freedesktop.portal.Session"),
                                                         QStringLiteral("Close")));
    session_.clear();
}

void PortalGlobalShortcut::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged(state);
}
