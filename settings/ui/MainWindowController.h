// The main window: the flavour's main view under the flavour's title, the application
// menu and the top bar's settings and applications buttons. The status item and the
// open-driver hotkey bring it to the front.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "settings/logic/NVFlavour.h"

#include <QMainWindow>

class QSystemTrayIcon;
class ViewController;

class MainWindowController : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindowController(NotificationCenter& bus, QWidget* parent = nullptr);
    ~MainWindowController() override;

    ViewController* viewController() const { return view_; }
    // Open settings, check for updates, quit.
    void addStatusItemMenu(QSystemTrayIcon* item);
    // The applications button: the per-application list beside this window, when a
    // tablet is open.
    void showAppList();

private:
    void addApplicationMenu(NVFlavour flavour);

    ViewController* view_;
    NotificationCenter::Token hotkeyToken_ = 0;
};
