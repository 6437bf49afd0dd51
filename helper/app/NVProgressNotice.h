// A long download's progress as one desktop notification (org.freedesktop.Notifications),
// replaced in place at most once a second and closed when the download ends.
#pragma once

#include "helper/logic/NVProgressThrottle.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class NVProgressNotice : public QObject {
public:
    explicit NVProgressNotice(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // A new download of the named package begins.
    void start(const QString& packageName);
    void progress(qint64 received, qint64 total);
    // Closes the notification shown, if any (once the server has named it).
    void finish();

private:
    void show(int percent);
    void close();

    QDBusConnection bus_;
    QString packageName_;
    NVProgressThrottle throttle_;
    QElapsedTimer clock_;
    uint id_ = 0; // the server's id of the notification shown; 0 before its answer
    bool finished_ = true;
};
