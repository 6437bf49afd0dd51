// The preferences window: a toolbar of pages (general, hotkeys for the primary brand,
// monitor). One window in the process at a time, made on first showing and gone on close.
#pragma once

#include "core/channel/NotificationCenter.h"

#include <QMainWindow>

#include <vector>

class HotkeysSettingViewController;
class QToolBar;

class SettingsWindowController : public QMainWindow {
    Q_OBJECT
public:
    // Makes the window if there is none, selects the page of tab (0 general, 1 hotkeys,
    // 2 monitor; 0 keeps the page shown) and shows it.
    static SettingsWindowController* showSettingsWindow(int tab);
    static void closeSettingsWindow();
    // The window shown now; null when there is none.
    static SettingsWindowController* current();

    ~SettingsWindowController() override;

    void setTabIndex(int index);
    // Shows the item's page; a click on the selected item does nothing.
    void onToolbarItemClick(const QString& identifier);
    const QString& toolbarSelectedItem() const { return toolbarSelectedItem_; }
    QToolBar* toolbar() const { return toolbar_; }
    int tabIndex() const { return tabIndex_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SettingsWindowController();
    void buildToolbar();
    // Tells a shown hotkeys page that it goes; stops observing; forgets the window.
    void windowShouldClose();
    void hotkeysPageGoes();

    int tabIndex_ = 0;
    QString toolbarSelectedItem_;
    QToolBar* toolbar_ = nullptr;
    HotkeysSettingViewController* hotkeysViewController_ = nullptr;
    std::vector<NotificationCenter::Token> localTokens_;
    NotificationCenter* bus_; // the programs' bus; may be null
    NotificationCenter::Token updateToken_ = 0;
};
