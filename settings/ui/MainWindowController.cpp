#include "settings/ui/MainWindowController.h"

#include "core/log/NVLog.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVThirdPartAppListController.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NuvroUtils.h"
#include "settings/ui/SettingsWindowController.h"
#include "settings/ui/TitlebarUtils.h"
#include "settings/ui/ViewController.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

namespace {

constexpr QSize kViewSize(960, 640);

} // namespace

MainWindowController::MainWindowController(NotificationCenter& bus, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("MainWindowController");
    const NVFlavour flavour = nv_app_context().bundle.flavour;
    setWindowTitle(qtTrId(nv_flavour_traits(flavour).windowTitleKey));
    view_ = new ViewController(bus, this);
    setCentralWidget(view_);
    addApplicationMenu(flavour);
    TitlebarUtils::addSettingsBtn(this, [] { SettingsWindowController::showSettingsWindow(0); });
    if (nv_flavour_traits(flavour).appListButton)
        TitlebarUtils::addAppSettingsBtn(this, [this] { showAppList(); });
    // The menu bar sits above the view, which keeps its own size.
    setFixedSize(kViewSize.width(), kViewSize.height() + menuBar()->sizeHint().height());
    if (nv_flavour_traits(flavour).hotkeysAndStatusItem)
        hotkeyToken_ = nv_ui_center().observe(nvUiHotkeyChanged, [this](const std::string&, const NVPlistDict&) {
            showNormal();
            raise();
            activateWindow();
        });
}

void MainWindowController::addApplicationMenu(NVFlavour flavour)
{
    QMenu* menu = menuBar()->addMenu(QString::fromStdString(nv_app_context().bundle.displayName));
    menu->setObjectName("applicationMenu");
    QAction* preferences = menu->addAction(qtTrId("settingsTitle"));
    preferences->setObjectName("preferencesItem");
    preferences->setMenuRole(QAction::PreferencesRole);
    // Only the primary flavour's menu item opens the preferences.
    if (flavour == NVFlavour::Primary)
        connect(preferences, &QAction::triggered, this, [] { SettingsWindowController::showSettingsWindow(0); });
    else
        preferences->setEnabled(false);
    menu->addSeparator();
    menu->addAction(qtTrId("str_M_quit"), qApp, &QApplication::quit);
}

void MainWindowController::showAppList()
{
    if (!g_ui.bTabletOpened) {
        nv_log("未连接设备,不显示多App窗口..");
        return;
    }
    NVThirdPartAppListController::showForMainWindow(this);
}

void MainWindowController::addStatusItemMenu(QSystemTrayIcon* item)
{
    auto* menu = new QMenu(this);
    menu->setObjectName("statusItemMenu");
    menu->addAction(qtTrId("str_M_show"), this, [] { nv_ui_center().post(nvUiHotkeyChanged, {}); });
    menu->addAction(qtTrId("str_SET_update"), view_, &ViewController::checkForUpdates);
    menu->addSeparator();
    menu->addAction(qtTrId("str_M_quit"), qApp, &QApplication::quit);
    item->setContextMenu(menu);
}

MainWindowController::~MainWindowController()
{
    if (hotkeyToken_)
        nv_ui_center().removeObserver(hotkeyToken_);
}
