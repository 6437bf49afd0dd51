// kwin_wayland --virtual for the tests: KWin on a private bus and runtime folder, its
// scripting interface and client windows on it.
#pragma once

#include "tests/linux/WaylandTestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QTemporaryDir>

#include <memory>

namespace nvtest {

// kwin_wayland rendering to memory on a private bus and runtime folder. It runs from a copy:
// the installed program carries a file capability that a container may not grant (exec
// then fails), and the copy keeps the name, which its built-in platform plugin checks.
class VirtualKWin {
public:
    explicit VirtualKWin(const QString& busAddress)
        : bus_(QDBusConnection::connectToBus(busAddress, "nv-kwin-test " + busAddress)), address_(busAddress)
    {
        program_ = copy_program("/usr/bin/kwin_wayland", dir_.path(), "kwin_wayland");
    }

    // socket: the Wayland socket's name; a restarted KWin takes a new one. outputs: how many
    // virtual outputs of 1280x720 it shows side by side.
    bool start(const QString& socket, int outputs = 1)
    {
        socket_ = socket;
        kwin_ = std::make_unique<BusCompositor>(
            program_,
            QStringList{"--virtual", "--socket", socket, "--no-lockscreen", "--no-global-shortcuts", "--output-count",
                        QString::number(outputs), "--width", "1280", "--height", "720"},
            address_, "org.kde.KWin");
        // Its settings in a folder of its own, kept over a restart: KWin 6 keeps each output
        // layout's settings there (an output switched off, a scale), which would start the next
        // test's KWin with them, and the user's own are no test's to write.
        const QString config = dir_.filePath("config");
        return QDir().mkpath(config) && kwin_->start({"XDG_CONFIG_HOME=" + config}) && spin_until([&] {
                   return call("isScriptLoaded", {"nuvro-probe"}).type() == QDBusMessage::ReplyMessage;
               });
    }
    void stop() { kwin_->stop(); }
    QString log() const { return kwin_ ? kwin_->log() : QString(); }

    std::unique_ptr<Client> window(const QString& program, const QStringList& args = {})
    {
        return kwin_->client(program, socket_, args);
    }
    // The socket's full path, for a client of the test's own environment.
    QString waylandDisplay() const { return kwin_->runtimeDir() + "/" + socket_; }

    QDBusMessage call(const char* method, const QVariantList& args)
    {
        auto m = QDBusMessage::createMethodCall("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", method);
        m.setArguments(args);
        return bus_.call(m, QDBus::Block, 5000);
    }
    bool isLoaded(const QString& name)
    {
        const QDBusReply<bool> r = call("isScriptLoaded", {name});
        return r.isValid() && r.value();
    }

    // Loads and runs a script of the test's own under name; KWin 6 and 5 paths both tried.
    bool runScript(const QString& text, const QString& name)
    {
        const QString path = dir_.filePath(name + ".js");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0)
            return false;
        f.close();
        const QDBusReply<int> id = call("loadScript", {path, name});
        if (!id.isValid() || id.value() < 0)
            return false;
        for (const QString& obj : {QStringLiteral("/Scripting/Script%1"), QStringLiteral("/%1")}) {
            const auto reply = bus_.call(
                QDBusMessage::createMethodCall("org.kde.KWin", obj.arg(id.value()), "org.kde.kwin.Script", "run"),
                QDBus::Block, 5000);
            if (reply.type() == QDBusMessage::ReplyMessage)
                return true;
        }
        return false;
    }

    // Activates the window of process pid as a user's click would.
    bool activate(qint64 pid)
    {
        static int n = 0;
        const QString name = QStringLiteral("nuvro-test-activate-%1").arg(++n);
        const bool ok = runScript(QStringLiteral("for (const w of (workspace.windowList ? workspace.windowList() : "
                                                 "workspace.clientList()))\n"
                                                 "    if (w.pid === %1) {\n"
                                                 "        if (workspace.windowList) workspace.activeWindow = w;\n"
                                                 "        else workspace.activeClient = w;\n"
                                                 "    }\n")
                                      .arg(pid),
                                  name);
        call("unloadScript", {name});
        return ok;
    }

    // The process of the window KWin has active, 0 for none, -1 when KWin does not say: a
    // window is mapped and activated some time after its program starts.
    qint64 activePid()
    {
        static int n = 0;
        const QString name = QStringLiteral("nuvro-test-active-%1").arg(++n);
        ActiveProbe probe;
        if (!bus_.registerVirtualObject(ActiveProbe::path, &probe))
            return -1;
        const bool ok = runScript(QStringLiteral("const w = workspace.windowList ? workspace.activeWindow : "
                                                 "workspace.activeClient;\n"
                                                 "callDBus(\"%1\", \"%2\", \"nuvro.test.ActiveProbe\", \"active\", "
                                                 "w ? w.pid : 0);\n")
                                      .arg(bus_.baseService(), ActiveProbe::path),
                                  name);
        call("unloadScript", {name});
        if (ok)
            spin_until([&] { return probe.pid >= 0; }, 5000);
        bus_.unregisterObject(ActiveProbe::path);
        return probe.pid;
    }

private:
    // Takes the answer of activePid()'s script.
    struct ActiveProbe : QDBusVirtualObject {
        static constexpr const char* path = "/nuvro/test/ActiveProbe";
        QString introspect(const QString&) const override { return {}; }
        bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
        {
            if (message.member() != "active" || message.signature() != "i")
                return false;
            pid = message.arguments().front().toInt();
            connection.send(message.createReply());
            return true;
        }
        qint64 pid = -1;
    };

    QTemporaryDir dir_;
    QDBusConnection bus_;
    QString address_;
    QString program_;
    QString socket_;
    std::unique_ptr<BusCompositor> kwin_;
};

} // namespace nvtest
