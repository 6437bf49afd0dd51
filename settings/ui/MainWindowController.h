// The main window: the flavour's main view under the flavour's title. The status item and
// the open-driver hotkey bring it to the front.
#pragma once

#include "core/channel/NotificationCenter.h"

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

private:
    ViewController* view_;
    NotificationCenter::Token hotkeyToken_ = 0;
};
