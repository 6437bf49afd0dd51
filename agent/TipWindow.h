// The tip that names a multi-function key's new function set: a borderless, click-through
// strip above the bottom of a screen, on top of every workspace, that never takes the
// focus and fades out over two seconds. Made on the first tip and reused. Under Wayland it
// is an ordinary frameless window wherever the compositor puts it.
#pragma once

#include "core/channel/NVPlist.h"

#include <QLabel>
#include <QObject>
#include <QPropertyAnimation>
#include <QString>

#include <memory>

class TipWindow : public QObject {
    Q_OBJECT
public:
    static constexpr int kHeight = 50;
    static constexpr int kBottomMargin = 100;
    static constexpr int kFontPoints = 38;
    static constexpr int kFadeMs = 2000;

    // Needs a QApplication.
    TipWindow();
    ~TipWindow() override;

    // The function-set notification: logs the names and shows the tip it asks for.
    void showTipPanal(const NVPlistDict& userInfo);
    // Shows text, restarting the fade; the first tip places the window on screen (its
    // width and bottom), later ones only change the text.
    void showTipWindow(const QString& text, int screen);

    // Null before the first tip.
    QLabel* window() const { return window_.get(); }
    QString text() const;
    const QPropertyAnimation& fade() const { return fade_; }

private:
    void create(const QString& text, int screen);
    void keepFocusAway();

    std::unique_ptr<QLabel> window_;
    QPropertyAnimation fade_;
};
