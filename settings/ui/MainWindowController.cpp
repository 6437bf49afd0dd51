#include "settings/ui/MainWindowController.h"

#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/ViewController.h"

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

MainWindowController::~MainWindowController()
{
    if (hotkeyToken_)
        nv_ui_center().removeObserver(hotkeyToken_);
}
