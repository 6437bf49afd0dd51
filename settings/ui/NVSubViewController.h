// Base of every page of the main window: it reloads its controls when the configuration
// or the tablet's state changes, and tells the main view about its edits.
#pragma once

#include "core/channel/NotificationCenter.h"

#include <QWidget>

class NVSubViewController : public QWidget {
    Q_OBJECT
public:
    explicit NVSubViewController(QWidget* parent = nullptr);
    ~NVSubViewController() override;

    // Reloads the controls from g_ui.cfg.
    virtual void updateNVConfigToView() {}
    virtual void handleNotificationNConfigChangedInSubView() { updateNVConfigToView(); }
    virtual void handleNotificationNTabletStateChangedInSubView() { updateNVConfigToView(); }

    // A page changed g_ui.cfg: the main view enables OK and Apply.
    static void notifyNVConfigChangedToMainView();
    // g_ui.cfg was replaced: every page reloads.
    static void notifyNVConfigChangedToSubView();
    static void notifyTabletStateChangedToSubView();

private:
    NotificationCenter::Token configToken_ = 0;
    NotificationCenter::Token stateToken_ = 0;
};
