// The frontmost application on KDE Plasma's Wayland session: a KWin script, loaded through
// KWin's scripting interface, calls windowActivated(pid, class) on this object for every
// activated window. The script is loaded again whenever KWin comes back on the bus (a
// restart), a stale one of the same name (an agent that crashed) is unloaded first, and it
// is unloaded when the workspace ends. Only calls from the KWin of the moment count.
#pragma once

#include "platform/qt/PidWorkspace.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <memory>

inline constexpr const char* nvKWinWorkspacePath = "/nuvroapp/NuvroAgent/Workspace";
// The name the script is loaded under; one script of a name runs at a time.
inline constexpr const char* nvKWinScriptName = "nuvroapp-frontmost";

class KWinWorkspace : public QObject, public PidWorkspace, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "nuvroapp.NuvroAgent.Workspace")
public:
    // Null when KWin is not on the bus or the object cannot be exported. The connection
    // must own the name the script calls (the agent's); scriptPath is the script's file.
    static std::unique_ptr<KWinWorkspace> open(const QString& scriptPath,
                                               QDBusConnection connection = QDBusConnection::sessionBus());
    ~KWinWorkspace() override;

public slots:
    Q_SCRIPTABLE void windowActivated(int pid, const QString& ownerName);

private:
    KWinWorkspace(const QString& scriptPath, QDBusConnection connection);
    void kwinChanged(const QString& owner);
    void load(int attempt = 0);
    void loaded(int id);
    void run(const QStringList& paths);

    QString scriptPath_;
    QDBusConnection connection_;
    QDBusServiceWatcher watcher_;
    // KWin's unique name on the bus; empty while it is away.
    QString kwin_;
};
