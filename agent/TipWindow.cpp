#include "agent/TipWindow.h"

#include "agent/TipRequest.h"
#include "core/channel/NVNotificationNames.h"
#include "core/log/NVLog.h"

#include <QEasingCurve>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>

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
    window_->setWindowOpacity(1.0);
    window_->show();
    window_->raise();
    fade_.start();
}

void TipWindow::create(const QString& text, int screen)
{
    const auto screens = QGuiApplication::screens();
    const QRect frame = screen >= 0 && screen < screens.size() ? screens[screen]->geometry() : QRect();

    // The text is the whole window, as the content of a borderless tip.
    window_ = std::make_unique<QLabel>(text, nullptr,
                                       Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                           Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput);
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

    fade_.setTargetObject(window_.get());
}
