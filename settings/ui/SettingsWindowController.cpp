#include "settings/ui/SettingsWindowController.h"

#include "core/channel/NVNotificationNames.h"
#include "settings/logic/NVPrefsToolbar.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/GeneralSettingsViewController.h"
#include "settings/ui/HotkeysSettingViewController.h"
#include "settings/ui/MonitorSettingsController.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVUiCenter.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QToolBar>

namespace {

SettingsWindowController* g_window = nullptr;

bool nuvro_brand()
{
    return nv_app_context().bundle.flavour == NVFlavour::Primary;
}

constexpr QSize kItemSize(72, 56);

} // namespace

SettingsWindowController* SettingsWindowController::showSettingsWindow(int tab)
{
    if (!g_window)
        g_window = new SettingsWindowController;
    g_window->setTabIndex(tab);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

void SettingsWindowController::closeSettingsWindow()
{
    if (g_window)
        g_window->close();
}

SettingsWindowController* SettingsWindowController::current()
{
    return g_window;
}

SettingsWindowController::SettingsWindowController() : bus_(nv_app_context().bus)
{
    setObjectName("SettingsWindowController");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(qtTrId("settingsTitle"));
    setMinimumSize(560, 420);
    buildToolbar();
    onToolbarItemClick(nvItemGeneral);

    localTokens_.push_back(nv_ui_center().observe(nvUiTabletStateChangedToSubView, [](const std::string&, const NVPlistDict&) {
        if (!g_ui.bTabletOpened)
            closeSettingsWindow();
    }));
    localTokens_.push_back(nv_ui_center().observe(nvUiApplicationTerminate, [](const std::string&, const NVPlistDict&) {
        closeSettingsWindow();
    }));
    if (bus_)
        updateToken_ = bus_->observe(nvNotificationIsNeedUpdate, [](const std::string&, const NVPlistDict& info) {
            const std::string& v = nv_plist_string(info, nvKeyIsNeedUpdate);
            if (v == "YES")
                didNeedUpdate = true;
            else if (v == "NO")
                didNeedUpdate = false;
        });
}

SettingsWindowController::~SettingsWindowController()
{
    windowShouldClose();
}

void SettingsWindowController::buildToolbar()
{
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(nvPrefsToolbarId);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    auto* group = new QActionGroup(toolbar_);
    for (const NVPrefsItem& item : nv_prefs_items(nuvro_brand(), didNeedUpdate)) {
        const QString label = qtTrId(item.labelKey);
        auto* action = new QAction(QIcon(nv_res_file(item.image)), label, group);
        action->setObjectName(item.identifier);
        action->setToolTip(label);
        action->setCheckable(true);
        action->setData(item.tag);
        toolbar_->addAction(action);
        QWidget* button = toolbar_->widgetForAction(action);
        button->setObjectName(item.identifier);
        button->setAccessibleName(label);
        button->setMinimumSize(kItemSize);
        button->setMaximumSize(kItemSize);
        const QString id = QString::fromLatin1(item.identifier);
        connect(action, &QAction::triggered, this, [this, id] { onToolbarItemClick(id); });
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

void SettingsWindowController::setTabIndex(int index)
{
    tabIndex_ = index;
    if (const char* item = nv_prefs_item_for_index(index, nuvro_brand()))
        onToolbarItemClick(QString::fromLatin1(item));
}

void SettingsWindowController::onToolbarItemClick(const QString& identifier)
{
    if (identifier == toolbarSelectedItem_)
        return;
    const auto tag = nv_prefs_tag(identifier.toStdString(), nuvro_brand());
    if (!tag)
        return;
    const char* pageId = nv_prefs_page_for_tag(*tag, nuvro_brand());
    if (!pageId)
        return;
    toolbarSelectedItem_ = identifier;
    if (auto* action = toolbar_->findChild<QAction*>(identifier))
        action->setChecked(true);
    const std::string page = pageId;
    QWidget* view = nullptr;
    if (page == nvPageHotkeys) {
        hotkeysViewController_ = new HotkeysSettingViewController;
        view = hotkeysViewController_;
    } else {
        hotkeysPageGoes();
        if (page == nvPageMonitor)
            view = new MonitorSettingsController;
        else
            view = new GeneralSettingsViewController(bus_);
    }
    view->setObjectName(pageId);
    setCentralWidget(view);
}

void SettingsWindowController::hotkeysPageGoes()
{
    if (hotkeysViewController_)
        hotkeysViewController_->windowClosed();
    hotkeysViewController_ = nullptr;
}

void SettingsWindowController::closeEvent(QCloseEvent* event)
{
    windowShouldClose();
    event->accept();
}

void SettingsWindowController::windowShouldClose()
{
    if (g_window == this)
        g_window = nullptr;
    for (auto token : localTokens_)
        nv_ui_center().removeObserver(token);
    localTokens_.clear();
    if (updateToken_)
        bus_->removeObserver(updateToken_);
    updateToken_ = 0;
    hotkeysPageGoes();
}
