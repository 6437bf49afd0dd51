// One global shortcut through the desktop portal's GlobalShortcuts interface (for clients
// that cannot grab keys themselves, as under Wayland). Everything is asynchronous: bind()
// creates a session, binds the shortcut, and the outcome arrives with stateChanged; the
// user's approval dialog is never waited for.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

class PortalGlobalShortcut : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,
        Pending,     // the portal has not answered yet
        Bound,
        Unavailable, // no portal, no such interface, or a request refused or cancelled
    };

    explicit PortalGlobalShortcut(QDBusConnection connection = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);
    ~PortalGlobalShortcut() override;

    // Binds the shortcut id in a new session, unless it is bound with this trigger already.
    // An empty trigger leaves the choice to the desktop.
    void bind(const QString& id, const QString& description, const QString& trigger);
    State state() const { return state_; }

signals:
    void stateChanged(PortalGlobalShortcut::State state);
    void activated();

private slots:
    void onResponse(const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);

private:
    QString requestPath(const QString& token) const;
    // Listens for the Response of the request at path, then sends the call.
    void request(const QString& path, const QDBusMessage& call);
    void bindShortcut();
    void closeSession();
    void setState(State state);

    QDBusConnection connection_;
    State state_ = State::Idle;
    QString id_, description_, trigger_;
    QString session_;
    QString createRequest_, bindRequest_;
    unsigned next_ = 0;
};
