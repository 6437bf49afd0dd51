// The tip that names a multi-function key's new function set: a borderless, click-through
// strip above the bottom of a screen, on top of every workspace, that never takes the
// focus and fades out over two seconds. Made on the first tip and reused. Under Wayland it
// is a strip on the overlay layer of the output where the compositor offers the wlr layer
// shell (wlroots compositors, KWin), drawn by the agent at the fade's opacity; elsewhere
// (GNOME) an ordinary frameless window wherever the compositor puts it.
#pragma once

#include "core/channel/NVPlist.h"
#include "platform/linux/LayerShellSurface.h"

#include <QLabel>
#include <QObject>
#include <QPropertyAnimation>
#include <QString>

#include <memory>
#include <string>

class QSocketNotifier;

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

    // Null before the first tip. On the layer shell it holds the text, font and palette
    // drawn onto the strip and is never shown itself.
    QLabel* window() const { return window_.get(); }
    // The tip shows on the compositor's layer shell.
    bool onLayerShell() const { return layer_ && layer_->isConnected(); }
    QString text() const;
    const QPropertyAnimation& fade() const { return fade_; }

private:
    void create(const QString& text, int screen);
    void openLayerShell();
    void keepFocusAway();
    // Places the strip on the first tip's output, or on the asked screen's once that one
    // is gone; false when the layer shell cannot show it.
    bool placeOnLayer(int screen);
    void paintLayer();

    std::unique_ptr<QLabel> window_;
    QPropertyAnimation fade_;
    std::unique_ptr<LayerShellSurface> layer_;
    std::unique_ptr<QSocketNotifier> layerNotifier_;
    std::string layerOutput_;
    LayerShellSurface::Canvas canvas_;
    qreal dotsPerMeter_ = 0;
    bool focusKeptAway_ = false;
    bool placeFailed_ = false;
};
