#include "settings/ui/NVPressViews.h"

#include "settings/logic/NVPenPicture.h"

#include <QPainter>
#include <QTabletEvent>

#include <algorithm>

ViewPressCurve::ViewPressCurve(QWidget* parent) : QWidget(parent) {}

void ViewPressCurve::setPressFactor(int32_t factor)
{
    factor_ = factor;
    update();
}

void ViewPressCurve::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const auto points = nv_press_curve_points(factor_, std::min(width(), height()));
    QPolygon line;
    for (const NVPoint& pt : points)
        line << QPoint(pt.x, height() - 1 - pt.y); // the curve rises from the bottom
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::gray, 1));
    p.drawPolyline(line);
}

PressValueView::PressValueView(QWidget* parent) : QWidget(parent) {}

void PressValueView::setProgressValue(double value)
{
    value_ = std::clamp(value, 0.0, 1.0);
    update();
}

void PressValueView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(Qt::gray, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const int h = static_cast<int>(value_ * (height() - 2));
    p.fillRect(QRect(1, height() - 1 - h, width() - 2, h), QColor::fromRgbF(0.2f, 0.5608f, 0.9882f, 1.0f));
}

ViewPressTest::ViewPressTest(QWidget* parent) : QWidget(parent), canvas_(kWidth, kHeight, QImage::Format_RGB32)
{
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_TabletTracking);
    clear();
}

void ViewPressTest::clear()
{
    canvas_.fill(Qt::white);
    last_ = {-1, -1};
    update();
}

void ViewPressTest::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, canvas_);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ViewPressTest::tabletEvent(QTabletEvent* event)
{
    event->accept();
    if (event->type() == QEvent::TabletRelease) {
        last_ = {-1, -1};
        emit strokeEnded();
        return;
    }
    if (!bTest_ || event->pressure() <= 0)
        return;
    const QPointF pt = event->position();
    const auto inside = [](QPointF q) { return q.x() > 0 && q.x() < kWidth && q.y() > 0 && q.y() < kHeight; };
    if (inside(last_) && inside(pt)) {
        QPainter p(&canvas_);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::blue, nv_press_stroke_width(maxP_, event->pressure()), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(last_, pt);
        update();
    }
    last_ = pt;
    emit pressureChanged(event->pressure());
}
