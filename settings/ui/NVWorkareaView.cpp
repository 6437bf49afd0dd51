#include "settings/ui/NVWorkareaView.h"

#include "core/log/NVLog.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr double kMargin = 12;
constexpr double kScreenShare = 0.38; // of the height, for the snapshot

} // namespace

NVWorkareaView::NVWorkareaView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumSize(420, 300);
}

NVViewRect NVWorkareaView::screenFrame() const
{
    const double h = height() * kScreenShare;
    const double w = width() * 0.6;
    return {(width() - w) / 2, height() - kMargin - h, w, h - kMargin};
}

NVViewRect NVWorkareaView::tabletFrame() const
{
    const double top = height() * kScreenShare + kMargin * 2;
    return {kMargin, kMargin, width() - 2 * kMargin, height() - top - kMargin};
}

void NVWorkareaView::setSnapshot(const QImage& image, const NVViewRect& rect)
{
    snapshot_ = image;
    snapshotRect_ = rect;
    update();
}

void NVWorkareaView::setTablet(const QImage& picture, int clockwiseTurn)
{
    tablet_ = picture;
    tabletTurn_ = clockwiseTurn;
    update();
}

void NVWorkareaView::setRects(const NVViewRect& picture, const NVViewRect& penArea, const NVViewRect& workarea)
{
    picture_ = picture;
    penArea_ = penArea;
    workarea_ = workarea;
    update();
}

NVViewPoint NVWorkareaView::toView(const QPointF& p) const
{
    return {p.x(), height() - p.y()};
}

QPointF NVWorkareaView::toWidget(NVViewPoint p) const
{
    return {p.x, height() - p.y};
}

QRectF NVWorkareaView::toWidget(const NVViewRect& r) const
{
    return {r.x, height() - r.y - r.height, r.width, r.height};
}

void NVWorkareaView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!snapshot_.isNull())
        p.drawImage(toWidget(snapshotRect_), snapshot_);

    if (!tablet_.isNull()) {
        // The picture is drawn upright into the turned rectangle's centre, then turned.
        const QRectF turned = toWidget(picture_);
        const bool sideways = tabletTurn_ == 90 || tabletTurn_ == 270;
        const QSizeF upright = sideways ? QSizeF(turned.height(), turned.width()) : turned.size();
        p.save();
        p.setOpacity(0.85);
        p.translate(turned.center());
        p.rotate(tabletTurn_);
        p.drawImage(QRectF(QPointF(-upright.width() / 2, -upright.height() / 2), upright), tablet_);
        p.restore();
    }

    if (!isEnabled())
        return;
    const QRectF w = toWidget(workarea_);
    p.setBrush(QColor(64, 140, 255, 40));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(w);
    const QRectF s = toWidget(snapshotRect_);
    const QLineF lines[4] = {{w.bottomLeft(), s.bottomLeft()}, {w.bottomRight(), s.bottomRight()},
                             {w.topRight(), s.topRight()}, {w.topLeft(), s.topLeft()}};
    p.setPen(QPen(Qt::black, 3));
    p.drawLines(lines, 4);
    p.setPen(QPen(Qt::white, 1));
    p.drawLines(lines, 4);
}

void NVWorkareaView::showCursor(const NVDragBands& bands)
{
    switch (nv_drag_cursor(bands)) {
    case NVDragCursor::LeftRight: setCursor(Qt::SizeHorCursor); break;
    case NVDragCursor::UpDown: setCursor(Qt::SizeVerCursor); break;
    case NVDragCursor::Arrow: setCursor(Qt::ArrowCursor); break;
    }
}

void NVWorkareaView::mousePressEvent(QMouseEvent* event)
{
    bands_ = nv_hit_bands(workarea_, toView(event->position()));
    dragged_ = false;
    nv_log("bPointInAreaBoxCenter:%d", bands_.centre ? 1 : 0);
    showCursor(bands_);
}

void NVWorkareaView::mouseMoveEvent(QMouseEvent* event)
{
    const NVViewPoint p = toView(event->position());
    if (!(event->buttons() & Qt::LeftButton) || !bands_.any()) {
        showCursor(nv_hit_bands(workarea_, p));
        return;
    }
    emit didChangeWorkArea(workarea_);
    NVViewRect w = workarea_;
    if (!nv_drag_workarea(&w, bands_, p, penArea_))
        return;
    workarea_ = w;
    dragged_ = true;
    update();
}

void NVWorkareaView::mouseReleaseEvent(QMouseEvent*)
{
    // Each drag step stores the rectangle as it was before the step; the last step is
    // stored here, or the area shown would not be the one saved.
    if (dragged_)
        emit didChangeWorkArea(workarea_);
    dragged_ = false;
    bands_ = {};
    setCursor(Qt::ArrowCursor);
}

void NVWorkareaView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit framesChanged();
}
