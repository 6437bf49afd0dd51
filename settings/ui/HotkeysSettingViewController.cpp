#include "settings/ui/HotkeysSettingViewController.h"

#include "core/log/NVLog.h"
#include "settings/ui/HotkeysUtil.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVUiCenter.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

HotkeysSettingViewController::HotkeysSettingViewController(QWidget* parent) : QWidget(parent)
{
    // A desktop portal that bound the hotkey offers global shortcuts after all.
    const bool bound = HotkeysUtil::registration() == HotkeysUtil::Registration::Registered;
    HotkeysUtil::unregisterOpenDriverHotkeys();
    labelExplain = nv_outlet(new QLabel(qtTrId("settingsOpenDriverUI")), "labelExplain", qtTrId("settingsOpenDriverUI"));
    labelExplain->setWordWrap(true);
    shortcutField = nv_outlet(new QLineEdit, "shortcutField", qtTrId("settingsOpenDriverUI"));
    shortcutField->setReadOnly(true);
    shortcutField->setAlignment(Qt::AlignCenter);
    shortcutField->setMinimumWidth(220);
    warnningImage = nv_outlet(new QLabel, "warnningImage", qtTrId("settingsHotkeyRegistered"));
    warnningImage->setPixmap(QPixmap(nv_res_file("warnning.png")).scaled(22, 22, Qt::KeepAspectRatio,
                                                                          Qt::SmoothTransformation));
    warnningImage->setToolTip(qtTrId("settingsHotkeyRegistered"));
    warnningImage->setFixedSize(24, 24);
    warnningImage->setVisible(false);
    btnReset = nv_outlet(new QPushButton(qtTrId("settingsResetHotkey")), "btnReset", qtTrId("settingsResetHotkey"));
    labelUnavailable = nv_outlet(new QLabel(qtTrId("settingsNoGlobalShortcuts")), "labelUnavailable",
                                 qtTrId("settingsNoGlobalShortcuts"));
    labelUnavailable->setWordWrap(true);
    labelUnavailable->setStyleSheet("color: #b03020;");
    labelUnavailable->setVisible(!HotkeysUtil::globalShortcutsAvailable() && !bound);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(40, 30, 40, 30);
    grid->setVerticalSpacing(16);
    grid->addWidget(labelExplain, 0, 0, 1, 4);
    grid->addWidget(shortcutField, 1, 0);
    grid->addWidget(warnningImage, 1, 1);
    grid->addWidget(btnReset, 1, 2);
    grid->addWidget(labelUnavailable, 2, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);

    listener_ = NVKeyboardListener::CreateInstanceWithSingleKey();
    listener_->onUpdateText = [this](const std::string& text) {
        nv_log("%s", text.c_str());
        shortcutField->setText(QString::fromStdString(text));
    };
    listener_->onShortcutChanged = [this](const NVShortcut& shortcut) {
        if (!shortcutField->isEnabled())
            return false;
        HotkeysUtil::saveOpenDriverShortcut(shortcut);
        return true;
    };
    // Taken shortcuts are shown, not refused: the user may still want one.
    listener_->hasShortcutRegistered = [this](const NVShortcut& shortcut) {
        warnningImage->setVisible(HotkeysUtil::isTaken(shortcut));
        return false;
    };
    listener_->onClearShortcuts = [] { nv_ui_center().post(nvUiHotkeyChanged, {}); };
    connect(btnReset, &QPushButton::clicked, this,
            [this] { listener_->addShortcut(HotkeysUtil::Default4OpenDriver()); });

    listener_->addShortcut(HotkeysUtil::readOpenDriverShortcut());
    listener_->startListenKeyboard();
    layoutToken_ = nv_ui_center().observe(nvUiKeyLayoutChanged,
                                          [this](const std::string&, const NVPlistDict&) { keyLayoutChanged(); });
}

HotkeysSettingViewController::~HotkeysSettingViewController()
{
    nv_ui_center().removeObserver(layoutToken_);
    windowClosed();
}

void HotkeysSettingViewController::keyLayoutChanged()
{
    listener_->updateText();
    // Menu shortcuts are compared by key name, which the layout decides.
    if (!listener_->KeyEvents().empty())
        warnningImage->setVisible(HotkeysUtil::isTaken(listener_->KeyEvents().front()));
}

void HotkeysSettingViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!watchedWindow_ && !closed_) {
        watchedWindow_ = window();
        watchedWindow_->installEventFilter(this);
    }
}

bool HotkeysSettingViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedWindow_) {
        if (event->type() == QEvent::WindowActivate)
            onBecomeKeyWindow();
        else if (event->type() == QEvent::WindowDeactivate)
            onResignKeyWindow();
    }
    return QWidget::eventFilter(watched, event);
}

void HotkeysSettingViewController::onBecomeKeyWindow()
{
    HotkeysUtil::unregisterOpenDriverHotkeys();
    listener_->startListenKeyboard();
}

void HotkeysSettingViewController::onResignKeyWindow()
{
    listener_->stopListenKeyboard();
    HotkeysUtil::registerOpenDriverHotkeys();
}

void HotkeysSettingViewController::onClearHotkeys()
{
    listener_->clearKeyEvents();
}

void HotkeysSettingViewController::windowClosed()
{
    if (closed_)
        return;
    closed_ = true;
    listener_->stopListenKeyboard();
    HotkeysUtil::registerOpenDriverHotkeys();
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = nullptr;
}
