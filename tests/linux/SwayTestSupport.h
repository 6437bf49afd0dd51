// A headless Sway of the test's own (a private runtime folder, no input devices) and client
// windows on it. Sway refuses to run as root: a root test runs it as nobody, and the test
// (root) still reaches its sockets.
#pragma once

#include "tests/linux/XvfbTestSupport.h"
#include "tests/qt/QtTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace nvtest {

class HeadlessSway {
public:
    // config: the text of its configuration file.
    explicit HeadlessSway(const QString& config = "output HEADLESS-1 resolution 1280x720\n")
    {
        if (!runtime_.isValid())
            return;
        QFile cfg(runtime_.filePath("config"));
        if (!cfg.open(QIODevice::WriteOnly) || cfg.write(config.toUtf8()) < 0)
            return;
        cfg.close();
        QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QStringList args{"-c", cfg.fileName()};
        QString program = "sway";
        if (getuid() == 0) {
            if (::chown(runtime_.path().toLocal8Bit().constData(), kNobody, kNobody) != 0 ||
                ::chown(cfg.fileName().toLocal8Bit().constData(), kNobody, kNobody) != 0)
                return;
            args.prepend("sway");
            args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + args;
            program = "setpriv";
        }
        QProcessEnvironment env;
        env.insert("PATH", qEnvironmentVariable("PATH"));
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("WLR_BACKENDS", "headless");
        env.insert("WLR_RENDERER", "pixman");
        env.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(runtime_.filePath("sway.log"));
        process_.start(program, args);
        if (!process_.waitForStarted(5000))
            return;
        spin_until([&] { return !socket().empty() && QFile::exists(waylandDisplay()); }, 15000);
    }
    ~HeadlessSway() { stop(); }
    HeadlessSway(const HeadlessSway&) = delete;
    HeadlessSway& operator=(const HeadlessSway&) = delete;

    static bool installed() { return on_path("sway") && (getuid() != 0 || on_path("setpriv")); }
    bool ok() const { return process_.state() == QProcess::Running && !socket().empty(); }
    // The IPC socket ($SWAYSOCK); empty until it is there.
    std::string socket() const
    {
        const QStringList s = QDir(runtime_.path()).entryList({"sway-ipc.*.sock"}, QDir::System);
        return s.isEmpty() ? std::string() : runtime_.filePath(s.first()).toStdString();
    }
    // Absolute: no $XDG_RUNTIME_DIR needed to reach it.
    QString waylandDisplay() const { return runtime_.filePath("wayland-1"); }
    qint64 pid() const { return process_.processId(); }

    // One command as swaymsg sends it; true when Sway reports success.
    bool command(const QString& text)
    {
        QProcess msg;
        msg.start("swaymsg", {"-s", QString::fromStdString(socket()), "--", text});
        return msg.waitForFinished(5000) && msg.exitCode() == 0;
    }

    // A client of the compositor through Qt's wayland platform.
    std::unique_ptr<QProcess> client(const QString& program, const QStringList& args = {})
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("WAYLAND_DISPLAY", waylandDisplay());
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("QT_QPA_PLATFORM", "wayland");
        p->setProcessEnvironment(env);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start(program, args);
        p->waitForStarted(5000);
        return p;
    }

    void kill()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

private:
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            kill();
    }

    static constexpr uid_t kNobody = 65534;
    QTemporaryDir runtime_;
    QProcess process_;
};

// The window of a process in Sway's tree (its node, with "focused"); null when it has none.
inline nlohmann::json sway_window_of(const HeadlessSway& sway, qint64 pid)
{
    QProcess tree;
    tree.start("swaymsg", {"-s", QString::fromStdString(sway.socket()), "-t", "get_tree", "-r"});
    tree.waitForFinished(5000);
    const std::function<nlohmann::json(const nlohmann::json&)> find = [&](const nlohmann::json& node) {
        if (node.value("pid", qint64(0)) == pid)
            return node;
        for (const char* key : {"nodes", "floating_nodes"})
            for (const auto& child : node.value(key, nlohmann::json::array()))
                if (auto found = find(child); found.is_object())
                    return found;
        return nlohmann::json();
    };
    return find(nlohmann::json::parse(tree.readAllStandardOutput().toStdString(), nullptr, false));
}

} // namespace nvtest
