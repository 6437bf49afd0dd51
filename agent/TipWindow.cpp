#include "agent/TipWindow.h"

#include "agent/TipRequest.h"
#include "core/channel/NVNotificationNames.h"
#include "core/log/NVLog.h"
#include "platform/linux/SwayIpc.h"

#include <QEasingCurve>
#include <QFont>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QSocketNotifier>

#include <unistd.h>

TipWindow::TipWindow()
{
    fade_.setPropertyName("windowOpacity");
    fade_.setDuration(kFadeMs);
    fade_.setStartValue(1.0);
    fade_.setEndValue(0.0);
    fade_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&fade_, &QPropertyAnimation::finished, this, [this] {
        if (window_)
            window_->hide();
        if (layer_)
            layer_->hide();
        canvas_ = {};
    });
}

TipWindow::~TipWindow() = default;

QString TipWindow::text() const
{
    return window_ ? window_->text() : QString();
}

void TipWindow::showTipPanal(const NVPlistDict& userInfo)
{
    nv_log("%s", nv_plist_describe(NVPlistValue(nv_plist_strings(userInfo, nvKeyNameArray))).c_str());
    const auto tip = nv_tip_request(userInfo, static_cast<int>(QGuiApplication::screens().size()));
    if (tip)
        showTipWindow(QString::fromStdString(tip->text), tip->screen);
}

void TipWindow::showTipWindow(const QString& text, int screen)
{
    fade_.stop();
    fade_.setCurrentTime(0);
    if (window_)
        window_->setText(text);
    else
        create(text, screen);
    fade_.targetObject()->setProperty(fade_.propertyName(), 1.0);
    if (!placeOnLayer(screen)) {
        if (QGuiApplication::platformName() == QLatin1String("wayland") && !focusKeptAway_) {
            focusKeptAway_ = true;
            keepFocusAway();
        }
        window_->show();
        window_->raise();
    }
    fade_.start();
}

void TipWindow::keepFocusAway()
{
    // Wayland has no window that refuses the focus, and Sway focuses every new one: it is
    // told never to focus a window of this process, which would also make the agent the
    // frontmost application.
    auto sway = SwayIpc::connect(qEnvironmentVariable("SWAYSOCK").toStdString());
    if (!sway)
        return;
    const auto reply = sway->request(NV_SWAY_RUN_COMMAND, "no_focus [pid=" + std::to_string(getpid()) + "]");
    if (!reply || !QJsonDocument::fromJson(QByteArray::fromStdString(*reply)).array().at(0)["success"].toBool())
        nv_log("TipWindow: Sway refused to leave the tip unfocused: %s", reply ? reply->c_str() : "no answer");
}

void TipWindow::create(const QString& text, int screen)
{
    const auto screens = QGuiApplication::screens();
    const QRect frame = screen >= 0 && screen < screens.size() ? screens[screen]->geometry() : QRect();

    // The text is the whole window, as the content of a borderless tip. A Wayland client
    // places no window of its own: without a layer shell to draw the strip on, an ordinary
    // one, which the compositor places.
    const bool wayland = QGuiApplication::platformName() == QLatin1String("wayland");
    window_ = std::make_unique<QLabel>(text, nullptr,
                                       (wayland ? Qt::Window : Qt::ToolTip) | Qt::FramelessWindowHint |
                                           Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                                           Qt::WindowTransparentForInput);
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    window_->setAttribute(Qt::WA_TranslucentBackground);
    window_->setAlignment(Qt::AlignCenter);
    window_->setFont(QFont("Arial", kFontPoints));
    // Drawn in the placeholder colour, as a hint rather than content.
    QPalette palette = window_->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    window_->setPalette(palette);
    // Longer names are clipped: the first tip decides the size.
    window_->setGeometry(frame.x(), frame.y() + frame.height() - kBottomMargin - kHeight, frame.width(), kHeight);
    window_->setFixedSize(frame.width(), kHeight);

    if (wayland) {
        // No window opacity there: the label fades its own painting.
        auto* effect = new QGraphicsOpacityEffect(window_.get());
        window_->setGraphicsEffect(effect);
        fade_.setTargetObject(effect);
        fade_.setPropertyName("opacity");
        openLayerShell();
        // The strip is drawn again at each step of the fade.
        connect(effect, &QGraphicsOpacityEffect::opacityChanged, this, [this] {
            if (onLayerShell())
                paintLayer();
        });
        if (screen >= 0 && screen < screens.size()) {
            layerOutput_ = screens[screen]->name().toStdString();
            dotsPerMeter_ = screens[screen]->logicalDotsPerInch() / 0.0254;
        }
    } else {
        fade_.setTargetObject(window_.get());
        nv_log("TipWindow: the tip is a tooltip window (%s)", qPrintable(QGuiApplication::platformName()));
    }
}

void TipWindow::openLayerShell()
{
    layer_ = LayerShellSurface::open();
    if (!layer_) {
        nv_log("TipWindow: the compositor offers no layer shell: the tip is an ordinary window");
        return;
    }
    nv_log("TipWindow: the tip is a strip on the overlay layer of the compositor's layer shell");
    layerNotifier_ = std::make_unique<QSocketNotifier>(layer_->fd(), QSocketNotifier::Read);
    connect(layerNotifier_.get(), &QSocketNotifier::activated, this, [this] {
        if (layer_->dispatch())
            return;
        // A hung-up socket stays readable.
        layerNotifier_->setEnabled(false);
        nv_log("TipWindow: the layer shell is gone: the tip is an ordinary window");
    });
}

bool TipWindow::placeOnLayer(int screen)
{
    if (!onLayerShell())
        return false;
    auto canvas = layer_->place({layerOutput_, 0, kHeight, kBottomMargin});
    const auto screens = QGuiApplication::screens();
    if (!canvas && screen >= 0 && screen < screens.size() && screens[screen]->name().toStdString() != layerOutput_) {
        layerOutput_ = screens[screen]->name().toStdString();
        canvas = layer_->place({layerOutput_, 0, kHeight, kBottomMargin});
    }
    if (!canvas) {
        if (layer_->isConnected() && !placeFailed_)
            nv_log("TipWindow: the layer shell did not place the tip on output \"%s\": it is an ordinary window",
                   layerOutput_.c_str());
        placeFailed_ = true;
        return false;
    }
    canvas_ = *canvas;
    paintLayer();
    return true;
}

void TipWindow::paintLayer()
{
    if (canvas_.width == 0)
        return;
    const int scale = canvas_.scale;
    QImage image(static_cast<int>(canvas_.width) * scale, static_cast<int>(canvas_.height) * scale,
                 QImage::Format_ARGB32_Premultiplied);
    // The text as large as the label would show it on that screen.
    if (dotsPerMeter_ > 0) {
        image.setDotsPerMeterX(qRound(dotsPerMeter_));
        image.setDotsPerMeterY(qRound(dotsPerMeter_));
    }
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setOpacity(fade_.targetObject()->property(fade_.propertyName()).toReal());
    painter.setFont(window_->font());
    painter.setPen(window_->palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 0, static_cast<int>(canvas_.width), static_cast<int>(canvas_.height)),
                     static_cast<int>(window_->alignment()), window_->text());
    painter.end();
    layer_->show(image.constBits(), image.width(), image.height(), static_cast<int>(image.bytesPerLine()));
}
