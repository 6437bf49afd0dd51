// The hotkeys page of the preferences window: records a new open-driver hotkey from the
// keyboard, warns when a shortcut is taken, resets to the default. While the window is
// active the hotkey is released, so that pressing it can be recorded.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "settings/logic/NVKeyboardListener.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

class HotkeysSettingViewController : public QWidget {
    Q_OBJECT
public:
    explicit HotkeysSettingViewController(QWidget* parent = nullptr);
    ~HotkeysSettingViewController() override;

    // The window closes or another page replaces this one: capture stops, the hotkey is
    // registered again.
    void windowClosed();
    void onClearHotkeys();
    NVKeyboardListener& listener() { return *listener_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onBecomeKeyWindow();
    void onResignKeyWindow();
    // The hotkey's text and whether it is taken, in the keyboard layout now in force.
    void keyLayoutChanged();

    std::unique_ptr<NVKeyboardListener> listener_;
    QLabel* labelExplain;
    QLineEdit* shortcutField;
    QLabel* warnningImage;
    QPushButton* btnReset;
    QLabel* labelUnavailable;
    QWidget* watchedWindow_ = nullptr;
    bool closed_ = false;
    NotificationCenter::Token layoutToken_ = 0;
};
