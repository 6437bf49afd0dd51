#include "settings/ui/MainWindowController.h"

#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NuvroUtils.h"
#include "settings/ui/ViewController.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

constexpr QSize kWindowSize(960, 640);

} // namespace

MainWindowController::MainWindowController(NotificationCenter& bus, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("MainWindowController");
    const NVFlavour flavour = nv_app_context().bundle.flavour;
    setWindowTitle(qtTrId(nv_flavour_traits(flavour).windowTitleKey));
    view_ = new ViewController(bus, this);
    setCentralWidget(view_);
    setFixedSize(kWindowSize);
    if (nv_flavour_traits(flavour).hotkeysAndStatusItem)
        hotkeyToken_ = nv_ui_center().observe(nvUiHotkeyChanged, [this](const std::string&, const NVPlistDict&) {
            showNormal();
            raise();
            activateWindow();
        });
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
