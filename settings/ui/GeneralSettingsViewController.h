// The general page of the preferences window: start at login, the update, the uninstall.
#pragma once

#include "core/channel/NotificationCenter.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

class GeneralSettingsViewController : public QWidget {
    Q_OBJECT
public:
    // bus: where the helper's answer arrives and the update is confirmed; may be null.
    explicit GeneralSettingsViewController(NotificationCenter* bus, QWidget* parent = nullptr);
    ~GeneralSettingsViewController() override;

    void onAutoRunChanged(bool on);
    void onBtnUpdaterClicked();
    // False when the user cancelled or the uninstall failed (the failure is shown).
    bool onBtnUninstallClicked();

private:
    // The update button's title blue and its picture shown while an update waits.
    void dealWithTheUpdateInfoForUI();

    NotificationCenter* bus_;
    NotificationCenter::Token updateToken_ = 0;
    QCheckBox* btnAutoRun;
    QPushButton* btnUpdater;
    QLabel* tipsForUpdate;
    QPushButton* btnUninstall;
};
