#include "settings/ui/GeneralSettingsViewController.h"

#include "core/channel/NVNotificationNames.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVGnomeExtensionNotice.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVUninstaller.h"
#include "settings/ui/NVUpdateOffer.h"
#include "settings/ui/NuvroUtils.h"
#include "settings/ui/SettingsWindowController.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

GeneralSettingsViewController::GeneralSettingsViewController(NotificationCenter* bus, QWidget* parent)
    : QWidget(parent), bus_(bus)
{
    btnAutoRun = nv_outlet(new QCheckBox(qtTrId("settingsAutoRun")), "btnAutoRun", qtTrId("settingsAutoRun"));
    btnAutoRun->setChecked(NuvroUtils::isDaemon());
    btnUpdater = nv_outlet(new QPushButton(qtTrId("str_SET_update")), "btnUpdater", qtTrId("str_SET_update"));
    tipsForUpdate = nv_outlet(new QLabel, "tipsForUpdate", qtTrId("str_SET_updateMessage"));
    tipsForUpdate->setPixmap(QPixmap(nv_res_file("settingsWithUpdate_new.png")).scaled(
        20, 20, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    btnUninstall = nv_outlet(new QPushButton(qtTrId("str_SET_uninstall")), "btnUninstall", qtTrId("str_SET_uninstall"));
    for (QPushButton* b : {btnUpdater, btnUninstall})
        b->setMinimumWidth(140);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(40, 30, 40, 30);
    grid->setVerticalSpacing(18);
    grid->addWidget(btnAutoRun, 0, 0, 1, 3);
    grid->addWidget(btnUpdater, 1, 0);
    grid->addWidget(tipsForUpdate, 1, 1);
    grid->addWidget(btnUninstall, 2, 0);
    grid->addWidget(new NVGnomeExtensionNotice(QDBusConnection::sessionBus(), this), 3, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);

    connect(btnAutoRun, &QCheckBox::toggled, this, &GeneralSettingsViewController::onAutoRunChanged);
    connect(btnUpdater, &QPushButton::clicked, this, &GeneralSettingsViewController::onBtnUpdaterClicked);
    connect(btnUninstall, &QPushButton::clicked, this, &GeneralSettingsViewController::onBtnUninstallClicked);

    if (bus_)
        updateToken_ = bus_->observe(nvNotificationIsNeedUpdate, [this](const std::string&, const NVPlistDict& info) {
            const std::string& v = nv_plist_string(info, nvKeyIsNeedUpdate);
            if (v == "YES")
                didNeedUpdate = true;
            else if (v == "NO")
                didNeedUpdate = false;
            dealWithTheUpdateInfoForUI();
        });
    dealWithTheUpdateInfoForUI();
    // Updates come from the primary brand's download page only.
    const bool updates = NuvroUtils::isNuvroTablet();
    btnUpdater->setEnabled(updates);
    btnUpdater->setVisible(updates);
}

GeneralSettingsViewController::~GeneralSettingsViewController()
{
    if (updateToken_)
        bus_->removeObserver(updateToken_);
}

void GeneralSettingsViewController::dealWithTheUpdateInfoForUI()
{
    btnUpdater->setStyleSheet(didNeedUpdate ? "color: blue;" : "");
    tipsForUpdate->setVisible(didNeedUpdate && NuvroUtils::isNuvroTablet());
}

void GeneralSettingsViewController::onAutoRunChanged(bool on)
{
    if (on)
        NuvroUtils::installDaemon();
    else
        NuvroUtils::unInstallDaemon();
}

void GeneralSettingsViewController::onBtnUpdaterClicked()
{
    if (nv_check_for_updates(this, bus_))
        SettingsWindowController::closeSettingsWindow();
}

bool GeneralSettingsViewController::onBtnUninstallClicked()
{
    if (nv_alert(this, {qtTrId("str_SET_uninstallNow"), qtTrId("str_SET_uninstallWarnning"),
                        {qtTrId("str_SET_uninstall"), qtTrId("str_M_cancel")}}) != 0) {
        nv_log("uninstall: cancelled");
        return false;
    }
    if (!nv_execute_uninstall(QString())) {
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_SET_uninstallFailed"), {qtTrId("str_M_ok")}});
        return false;
    }
    SettingsWindowController::closeSettingsWindow();
    QApplication::quit();
    return true;
}
