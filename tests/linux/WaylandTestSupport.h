// Headless Wayland compositors of the test's own (a private session bus, a private runtime
// folder) and client windows on them, for the workspace adapters of the Wayland desktops.
#pragma once

#include "tests/linux/XvfbTestSupport.h"
#include "tests/qt/QtTestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace nvtest {

// True when the compositor at the socket path answers a wl_display.sync within timeoutMs:
// its socket exists before its main loop runs, and a client connecting earlier waits unanswered.
inline bool wayland_answers(const QString& socketPath, int timeoutMs)
{
    const QByteArray path = socketPath.toLocal8Bit();
    sockaddr_un address{};
    if (path.size() >= int(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // wl_display (object 1) request 0, sync, with the new callback's id 2: 12 bytes, host order.
    const uint32_t sync[3] = {1, (12u << 16) | 0u, 2};
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, sync, sizeof sync, MSG_NOSIGNAL) == ssize_t(sizeof sync)) {
        pollfd p{fd, POLLIN, 0};
        char reply[64];
        answered = ::poll(&p, 1, timeoutMs) == 1 && ::recv(fd, reply, sizeof reply, MSG_DONTWAIT) > 0;
    }
    ::close(fd);
    return answered;
}

// Kills the processes whose parent is pid.
inline void kill_children(qint64 pid)
{
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const pid_t child = entry.toInt(&numeric);
        QFile stat("/proc/" + entry + "/stat");
        if (!numeric || !stat.open(QIODevice::ReadOnly))
            continue;
        // The fields after the command name, which may itself hold spaces: state, then parent.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == pid)
            ::kill(child, SIGKILL);
    }
}

// A client program, ended with the test.
class Client {
public:
    Client() = default;
    ~Client()
    {
        process.kill();
        process.waitForFinished(2000);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    qint64 pid() const { return process.processId(); }
    QProcess process;
};

// A compositor started on the given bus; ready once it owns busName there. Its output goes
// to a file in the runtime folder, shown by log() when a test fails.
class BusCompositor {
public:
    BusCompositor(QString program, QStringList args, QString busAddress, QString busName)
        : program_(std::move(program)), args_(std::move(args)), bus_(std::move(busAddress)), name_(std::move(busName))
    {
        QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ~BusCompositor() { stop(); }
    BusCompositor(const BusCompositor&) = delete;
    BusCompositor& operator=(const BusCompositor&) = delete;

    // extraEnv: NAME=value entries added to the test's environment.
    bool start(const QStringList& extraEnv = {}, int timeoutMs = 20000)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus_);
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        for (const QString& e : extraEnv)
            env.insert(e.section('=', 0, 0), e.section('=', 1));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(runtime_.filePath("compositor.log"), QIODevice::Append);
        process_.start(program_, args_);
        if (!process_.waitForStarted(5000))
            return false;
        QDBusConnection bus = QDBusConnection::connectToBus(bus_, "nv-compositor-watch " + bus_);
        const bool ok = spin_until(
            [&] { return process_.state() == QProcess::NotRunning || bus.interface()->isServiceRegistered(name_); },
            timeoutMs);
        return ok && process_.state() == QProcess::Running;
    }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    QString runtimeDir() const { return runtime_.path(); }
    qint64 pid() const { return process_.processId(); }

    QString log() const
    {
        QFile f(runtime_.filePath("compositor.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().right(4000)) : QString();
    }

    // A client program on the compositor's Wayland socket, through Qt's wayland platform.
    std::unique_ptr<Client> client(const QString& program, const QString& socket, const QStringList& args = {})
    {
        auto c = std::make_unique<Client>();
        QProcess* p = &c->process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.insert("WAYLAND_DISPLAY", socket);
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("QT_QPA_PLATFORM", "wayland");
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus_);
        p->setProcessEnvironment(env);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start(program, args);
        p->waitForStarted(5000);
        return c;
    }

private:
    QString program_;
    QStringList args_;
    QString bus_;
    QString name_;
    QTemporaryDir runtime_;
    QProcess process_;
};

// GNOME Shell, headless with one virtual monitor of 1280x800, on a session bus of its own.
// The shell asks logind on the system bus: a private one, without logind, lets it start.
class HeadlessGnomeShell {
public:
    HeadlessGnomeShell()
        : shell_("gnome-shell",
                 {"--headless", "--wayland", "--virtual-monitor", "1280x800", "--wayland-display", "nv-gnome"},
                 session_.address(), "org.gnome.Shell")
    {
    }
    static bool installed() { return on_path("gnome-shell"); }

    // Extensions to enable go under dataDir()/gnome-shell/extensions before start().
    QString dataDir() const { return data_.path(); }
    // Once the shell owns its name and answers on its Wayland socket. It takes the name first,
    // creates the socket later and serves it later still; a socket that exists may not even
    // listen yet, so each try connects afresh.
    //
    // GNOME Shell 43 at times hangs for good while it starts: it forks to start a helper
    // program, and the child runs script code before its exec, which waits on a type-system
    // lock that another thread held at the fork. A shell that has not answered in 30 s is ended together with
    // that child, which holds copies of the shell's bus connection and sockets, and started
    // again, three times at most.
    bool start()
    {
        if (session_.address().isEmpty() || system_.address().isEmpty())
            return false;
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!shell_.start({"DBUS_SYSTEM_BUS_ADDRESS=" + system_.address(), "XDG_DATA_HOME=" + data_.path(),
                               "GSETTINGS_BACKEND=memory"},
                              60000))
                return false;
            if (spin_until([&] { return wayland_answers(waylandDisplay(), 5000); }, 30000))
                return true;
            std::fprintf(stderr, "GNOME Shell hung while it started; starting it again\n");
            kill_children(shell_.pid());
            shell_.stop();
        }
        return false;
    }
    QString waylandDisplay() const { return shell_.runtimeDir() + "/nv-gnome"; }
    QString busAddress() const { return session_.address(); }
    QString log() const { return shell_.log(); }
    std::unique_ptr<Client> client(const QString& program) { return shell_.client(program, "nv-gnome"); }

private:
    PrivateBus session_;
    PrivateBus system_;
    QTemporaryDir data_;
    BusCompositor shell_;
};

// program copied under a new name into dir: another program for /proc/PID/exe.
inline QString copy_program(const QString& program, const QString& dir, const QString& name)
{
    const QString copy = QDir(dir).filePath(name);
    QFile::remove(copy);
    return QFile::copy(program, copy) && QFile::setPermissions(copy, QFile::permissions(program)) ? copy : QString();
}

} // namespace nvtest
