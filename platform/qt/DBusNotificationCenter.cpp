#include "platform/qt/DBusNotificationCenter.h"

#include "core/log/NVLog.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QStringList>

#include <algorithm>

#include <vector>

namespace {

constexpr const char* kSignal = "Post";
constexpr const char* kSignature = "sa{sv}";

QVariant to_qt(const NVPlistValue& v)
{
    const auto& s = v.storage();
    if (const auto* str = std::get_if<std::string>(&s))
        return QString::fromStdString(*str);
    if (const auto* i = std::get_if<int32_t>(&s))
        return QVariant(int(*i));
    if (const auto* a = std::get_if<NVPlistStrings>(&s)) {
        QStringList list;
        list.reserve(qsizetype(a->size()));
        for (const std::string& e : *a)
            list.push_back(QString::fromStdString(e));
        return list;
    }
    if (const auto* d = std::get_if<NVPlistData>(&s))
        return QByteArray(reinterpret_cast<const char*>(d->data()), qsizetype(d->size()));
    if (const auto* dict = std::get_if<NVPlistDict>(&s))
        return nv_plist_to_qt(*dict);
    return {};
}

// False for a bus type the property lists do not carry.
bool from_qt(const QVariant& v, NVPlistValue& out)
{
    switch (v.metaType().id()) {
    case QMetaType::QString:
        out = v.toString().toStdString();
        return true;
    case QMetaType::Int:
        out = int32_t(v.toInt());
        return true;
    case QMetaType::QStringList: {
        NVPlistStrings list;
        for (const QString& e : v.toStringList())
            list.push_back(e.toStdString());
        out = std::move(list);
        return true;
    }
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        out = NVPlistData(b.begin(), b.end());
        return true;
    }
    default:
        break;
    }
    if (v.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const auto arg = v.value<QDBusArgument>();
        if (arg.currentSignature() == QLatin1String("a{sv}")) {
            out = nv_plist_from_qt(qdbus_cast<QVariantMap>(arg));
            return true;
        }
    }
    if (v.metaType() == QMetaType::fromType<QVariantMap>()) {
        out = nv_plist_from_qt(v.toMap());
        return true;
    }
    return false;
}

} // namespace

QVariantMap nv_plist_to_qt(const NVPlistDict& d)
{
    QVariantMap m;
    for (const auto& [key, value] : d) {
        QVariant v = to_qt(value);
        if (v.isValid())
            m.insert(QString::fromStdString(key), v);
    }
    return m;
}

NVPlistDict nv_plist_from_qt(const QVariantMap& m)
{
    NVPlistDict d;
    for (auto it = m.begin(); it != m.end(); ++it) {
        NVPlistValue v;
        if (from_qt(it.value(), v))
            d.emplace(it.key().toStdString(), std::move(v));
    }
    return d;
}

DBusNotificationCenter::DBusNotificationCenter(QDBusConnection connection, QObject* parent)
    : QObject(parent), connection_(std::move(connection))
{
    if (!connection_.isConnected())
        nv_log("DBusNotificationCenter: no session bus (%s), notifications are not exchanged",
               qPrintable(connection_.lastError().message()));
}

DBusNotificationCenter::~DBusNotificationCenter()
{
    std::vector<std::string> names;
    for (const auto& [token, e] : entries_)
        names.push_back(e.name);
    entries_.clear();
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const std::string& name : names)
        subscribe(QString::fromStdString(name), false);
}

bool DBusNotificationCenter::isConnected() const { return connection_.isConnected(); }

void DBusNotificationCenter::post(const std::string& name, const NVPlistDict& userInfo)
{
    if (!connection_.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createSignal(nvDBusNotificationPath, nvDBusNotificationInterface, kSignal);
    message << QString::fromStdString(name) << nv_plist_to_qt(userInfo);
    if (!connection_.send(message))
        nv_log("DBusNotificationCenter post %s failed: %s", name.c_str(),
               qPrintable(connection_.lastError().message()));
}

NotificationCenter::Token DBusNotificationCenter::observe(const std::string& name, Observer observer)
{
    const bool first = std::none_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.second.name == name; });
    const Token t = next_++;
    entries_.emplace(t, Entry{name, std::move(observer)});
    if (first)
        subscribe(QString::fromStdString(name), true);
    return t;
}

void DBusNotificationCenter::removeObserver(Token token)
{
    auto it = entries_.find(token);
    if (it == entries_.end())
        return;
    const std::string name = it->second.name;
    entries_.erase(it);
    const bool last = std::none_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.second.name == name; });
    if (last)
        subscribe(QString::fromStdString(name), false);
}

// The bus filters on the name (arg0), so a process receives only what it observes: the
// configuration image does not travel to programs that do not want it.
bool DBusNotificationCenter::subscribe(const QString& name, bool on)
{
    if (!connection_.isConnected())
        return false;
    const QStringList match{name};
    const char* slot = SLOT(onPost(QDBusMessage));
    if (!on)
        return connection_.disconnect(QString(), nvDBusNotificationPath, nvDBusNotificationInterface, kSignal, match,
                                      kSignature, this, slot);
    if (!connection_.connect(QString(), nvDBusNotificationPath, nvDBusNotificationInterface, kSignal, match,
                             kSignature, this, slot))
        return false;
    // The bus adds the match rule asynchronously. A round trip behind it makes sure that a
    // post made by anyone after observe() returns is delivered here.
    connection_.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                    "org.freedesktop.DBus", "GetId"));
    return true;
}

void DBusNotificationCenter::onPost(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (args.size() != 2 || args[0].metaType().id() != QMetaType::QString)
        return;
    NVPlistValue info;
    if (!from_qt(args[1], info))
        return;
    const std::string name = args[0].toString().toStdString();
    const NVPlistDict& userInfo = info.asDict();
    // Snapshot the tokens: observers may change the registrations while we deliver.
    std::vector<Token> targets;
    for (const auto& [token, e] : entries_)
        if (e.name == name)
            targets.push_back(token);
    for (Token t : targets) {
        auto it = entries_.find(t);
        if (it == entries_.end())
            continue;
        Observer observer = it->second.observer;
        observer(name, userInfo);
    }
}
