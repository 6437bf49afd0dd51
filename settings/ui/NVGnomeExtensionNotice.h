// One line and one button on the general page of the preferences in a GNOME Wayland
// session whose shell does not answer through the suite's extension: without it the
// per-application profiles cannot follow the focused window. The button enables the
// extension; the notice goes once the extension appears on the bus.
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QWidget>

class QLabel;
class QPushButton;

class NVGnomeExtensionNotice : public QWidget {
    Q_OBJECT
public:
    explicit NVGnomeExtensionNotice(QDBusConnection bus = QDBusConnection::sessionBus(), QWidget* parent = nullptr);

    // Starts "gnome-extensions enable"; false (logged) when it cannot be started.
    bool onBtnEnableClicked();

private:
    QLabel* gnomeExtensionTip;
    QPushButton* btnEnableGnomeExtension;
    QDBusServiceWatcher watcher_;
};
