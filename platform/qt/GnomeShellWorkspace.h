// The frontmost application on GNOME Shell: the suite's shell extension owns a name on the
// session bus and signals Changed(pid, class) whenever the focused window changes; its
// Current() gives the focused window when the extension appears (at start, after it is
// enabled, after the shell restarts). Without the extension nothing is reported.
#pragma once

#include "platform/linux/GnomeFocusExtension.h"
#include "platform/qt/PidWorkspace.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <memory>

class GnomeShellWorkspace : public QObject, public PidWorkspace {
    Q_OBJECT
public:
    // Null when GNOME Shell is not on the bus. When the extension does not answer, says
    // once how to enable it and waits for it.
    static std::unique_ptr<GnomeShellWorkspace> open(QDBusConnection connection = QDBusConnection::sessionBus());
    ~GnomeShellWorkspace() override;

private slots:
    void changed(uint pid, const QString& ownerName);

private:
    explicit GnomeShellWorkspace(QDBusConnection connection);
    void extensionChanged(const QString& owner);
    void askCurrent();

    QDBusConnection connection_;
    QDBusServiceWatcher watcher_;
    QString extension_;
};
