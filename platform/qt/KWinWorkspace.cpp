#include "platform/qt/KWinWorkspace.h"

#include "core/log/NVLog.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

namespace {

constexpr const char* kService = "org.kde.KWin";
constexpr const char* kScriptingPath = "/Scripting";
constexpr const char* kScriptingInterface = "org.kde.kwin.Scripting";
constexpr const char* kScriptInterface = "org.kde.kwin.Script";
// Ends the agent without waiting long for a KWin that hangs.
constexpr int kUnloadTimeoutMs = 1000;
// KWin takes its name on the bus before its scripting object is there: the script is
// offered again this often while KWin starts, for at most kLoadAttempts times.
constexpr int kLoadRetryMs = 250;
constexpr int kLoadAttempts = 40;

QDBusMessage scripting(const QString& kwin, const char* method, const QVariantList& args)
{
    auto m = QDBusMessage::createMethodCall(kwin, kScriptingPath, kScriptingInterface, method);
    m.setArguments(args);
    return m;
}

} // namespace

std::unique_ptr<KWinWorkspace> KWinWorkspace::open(const QString& scriptPath, QDBusConnection connection)
{
    if (!connection.isConnected() || !connection.interface()->isServiceRegistered(kService))
        return nullptr;
    std::unique_ptr<KWinWorkspace> ws(new KWinWorkspace(scriptPath, connection));
    if (!connection.registerObject(nvKWinWorkspacePath, ws.get(), QDBusConnection::ExportScriptableSlots)) {
        nv_log("KWinWorkspace: cannot export %s", nvKWinWorkspacePath);
        return nullptr;
    }
    ws->kwinChanged(connection.interface()->serviceOwner(kService));
    return ws;
}

KWinWorkspace::KWinWorkspace(const QString& scriptPath, QDBusConnection connection)
    : scriptPath_(scriptPath),
      connection_(connection),
      watcher_(kService, connection, QDBusServiceWatcher::WatchForOwnerChange)
{
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { kwinChanged(owner); });
}

KWinWorkspace::~KWinWorkspace()
{
    if (!kwin_.isEmpty())
        connection_.call(scripting(kwin_, "unloadScript", {QString(nvKWinScriptName)}), QDBus::Block,
                         kUnloadTimeoutMs);
    connection_.unregisterObject(nvKWinWorkspacePath);
}

void KWinWorkspace::kwinChanged(const QString& owner)
{
    if (owner == kwin_)
        return;
    if (owner.isEmpty())
        nv_log("KWinWorkspace: KWin left the session bus, the frontmost application is followed again when it returns");
    kwin_ = owner;
    if (!kwin_.isEmpty())
        load();
}

void KWinWorkspace::load(int attempt)
{
    // A script of the same name left by an agent that ended without unloading it would
    // keep calling: it goes first, whatever the answer.
    const QString kwin = kwin_;
    auto* unload = new QDBusPendingCallWatcher(
        connection_.asyncCall(scripting(kwin, "unloadScript", {QString(nvKWinScriptName)})), this);
    connect(unload, &QDBusPendingCallWatcher::finished, this, [this, kwin, attempt](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (kwin != kwin_)
            return;
        auto* loading = new QDBusPendingCallWatcher(
            connection_.asyncCall(scripting(kwin, "loadScript", {scriptPath_, QString(nvKWinScriptName)})), this);
        connect(loading, &QDBusPendingCallWatcher::finished, this, [this, kwin, attempt](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            QDBusPendingReply<int> reply = *w;
            if (kwin != kwin_)
                return;
            if (reply.isError() && reply.error().type() == QDBusError::UnknownObject && attempt + 1 < kLoadAttempts) {
                QTimer::singleShot(kLoadRetryMs, this, [this, kwin, attempt] {
                    if (kwin == kwin_)
                        load(attempt + 1);
                });
                return;
            }
            if (reply.isError() || reply.value() < 0) {
                nv_log("KWinWorkspace: KWin did not load the script %s (%s), the frontmost application is not followed",
                       qPrintable(scriptPath_), reply.isError() ? qPrintable(reply.error().message()) : "refused");
                return;
            }
            loaded(reply.value());
        });
    });
}

void KWinWorkspace::loaded(int id)
{
    // KWin 6 keeps its scripts under /Scripting/Script<id>, KWin 5 under /<id>.
    run({QStringLiteral("/Scripting/Script%1").arg(id), QStringLiteral("/%1").arg(id)});
}

void KWinWorkspace::run(const QStringList& paths)
{
    const QString kwin = kwin_;
    auto* call = new QDBusPendingCallWatcher(
        connection_.asyncCall(QDBusMessage::createMethodCall(kwin, paths.front(), kScriptInterface, "run")), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, kwin, paths](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        QDBusPendingReply<> reply = *w;
        if (kwin != kwin_ || !reply.isError())
            return;
        if (paths.size() > 1)
            run(paths.mid(1));
        else
            nv_log("KWinWorkspace: KWin did not run the script %s (%s)", qPrintable(scriptPath_),
                   qPrintable(reply.error().message()));
    });
}

void KWinWorkspace::windowActivated(int pid, const QString& ownerName)
{
    if (message().service() != kwin_)
        return;
    activate(pid, ownerName.toStdString());
}
