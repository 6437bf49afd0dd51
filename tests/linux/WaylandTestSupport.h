// Headless Wayland compositors of the test's own (a private session bus, a private runtime
// folder) and client windows on them, for the workspace adapters of the Wayland desktops.
#pragma once

#include "tests/qt/QtTestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace nvtest {

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

// program copied under a new name into dir: another program for /proc/PID/exe.
inline QString copy_program(const QString& program, const QString& dir, const QString& name)
{
    const QString copy = QDir(dir).filePath(name);
    QFile::remove(copy);
    return QFile::copy(program, copy) && QFile::setPermissions(copy, QFile::permissions(program)) ? copy : QString();
}

} // namespace nvtest
