// Event-loop helpers for tests of the Qt adapters.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>

#include <functional>

namespace nvtest {

// The process's one QCoreApplication, made on first use unless the test made its own.
inline QCoreApplication& qt_app()
{
    if (QCoreApplication* existing = QCoreApplication::instance())
        return *existing;
    static int argc = 1;
    static char name[] = "nuvro-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until done() holds (asked once per round) or the time is up.
inline bool spin_until(const std::function<bool()>& done, int timeoutMs = 5000)
{
    qt_app();
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
}

// A session bus daemon of the test's own, so that tests running side by side do not
// hear each other's notifications.
class PrivateBus {
public:
    PrivateBus()
    {
        qt_app();
        daemon_.setReadChannel(QProcess::StandardOutput);
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted(5000))
            return;
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {
        }
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        daemon_.kill();
        daemon_.waitForFinished(2000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when no daemon could be started.
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace nvtest
