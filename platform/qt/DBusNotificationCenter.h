// Notifications over the D-Bus session bus: every post is one Post(s name, a{sv} userInfo)
// signal, received by every centre of every process that observes the name, the poster
// included. Observers run on the event loop of the thread that owns the centre.
#pragma once

#include "core/channel/NotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <map>

inline constexpr const char* nvDBusNotificationPath = "/nuvroapp/NotificationCenter";
inline constexpr const char* nvDBusNotificationInterface = "nuvroapp.NotificationCenter";

class DBusNotificationCenter : public QObject, public NotificationCenter {
    Q_OBJECT
public:
    explicit DBusNotificationCenter(QDBusConnection connection = QDBusConnection::sessionBus(),
                                    QObject* parent = nullptr);
    ~DBusNotificationCenter() override;

    // False when the bus could not be reached: posts go nowhere and nothing arrives.
    bool isConnected() const;

    void post(const std::string& name, const NVPlistDict& userInfo) override;
    Token observe(const std::string& name, Observer observer) override;
    void removeObserver(Token token) override;

private slots:
    void onPost(const QDBusMessage& message);

private:
    bool subscribe(const QString& name, bool on);

    struct Entry {
        std::string name;
        Observer observer;
    };
    QDBusConnection connection_;
    std::map<Token, Entry> entries_;
    Token next_ = 1;
};

// Conversions between property-list values and the bus's variants: strings as s, integers
// as i, string arrays as as, data as ay, dictionaries as a{sv}. Values of any other bus type
// are left out, as if the key were missing.
QVariantMap nv_plist_to_qt(const NVPlistDict& d);
NVPlistDict nv_plist_from_qt(const QVariantMap& m);
