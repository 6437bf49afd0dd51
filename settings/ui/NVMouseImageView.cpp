#include "settings/ui/NVMouseImageView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

NVMouseImageView::NVMouseImageView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void NVMouseImageView::setPicture(const QPixmap& picture, const NVLayoutTablet* layout)
{
    picture_ = picture;
    layout_ = layout;
    relayout();
}

void NVMouseImageView::setPictureArea(const QRect& area)
{
    area_ = area;
    relayout();
}

void NVMouseImageView::setEndPoint(const QPoint& p)
{
    _endPoint = p;
    update();
}

void NVMouseImageView::relayout()
{
    keys_.clear();
    _imgRect = {};
    if (layout_ && layout_->size.cx > 0 && layout_->size.cy > 0 && !area_.isEmpty()) {
        // Layout coordinates are picture pixels: the drawn picture takes the layout's size.
        const double scale = std::min({1.0, static_cast<double>(area_.width()) / layout_->size.cx,
                                       static_cast<double>(area_.height()) / layout_->size.cy});
        const QSize drawn(static_cast<int>(layout_->size.cx * scale), static_cast<int>(layout_->size.cy * scale));
        _imgRect = QRect(area_.x() + (area_.width() - drawn.width()) / 2,
                         area_.y() + (area_.height() - drawn.height()) / 2, drawn.width(), drawn.height());
        keys_ = nv_ekey_views(*layout_, {_imgRect.x(), _imgRect.y()}, scale);
    }
    if (_curEkeyIndex >= static_cast<int>(keys_.size())) {
        _curEkeyIndex = 0;
        _bEkeyLocked = false;
    }
    update();
}

QPoint NVMouseImageView::anchorOf(int index) const
{
    if (index < 0 || index >= static_cast<int>(keys_.size()))
        return {};
    return {keys_[static_cast<size_t>(index)].anchor.x, keys_[static_cast<size_t>(index)].anchor.y};
}

void NVMouseImageView::show(int index)
{
    _curEkeyIndex = index;
    update();
    emit curEkeyChanged(index);
}

void NVMouseImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (_bEkeyLocked)
        return;
    const QPoint p = event->position().toPoint();
    const int i = nv_ekey_at(keys_, {p.x(), p.y()});
    if (i >= 0 && i != _curEkeyIndex)
        show(i);
}

void NVMouseImageView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int i = nv_ekey_at(keys_, {p.x(), p.y()});
    if (i < 0) {
        _bEkeyLocked = false;
        update();
        return;
    }
    if (_bEkeyLocked && i == _curEkeyIndex)
        return;
    _bEkeyLocked = true;
    show(i);
}

void NVMouseImageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull() && !_imgRect.isEmpty())
        p.drawPixmap(_imgRect, picture_);
    if (keys_.empty())
        return;
    const NVEkeyView& k = keys_[static_cast<size_t>(_curEkeyIndex)];
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::gray, 1));
    p.drawLine(QPoint(k.anchor.x, k.anchor.y), _endPoint);
    if (_bEkeyLocked) {
        p.setPen(QPen(QColor(0x33, 0x8f, 0xfc), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(k.outer.left, k.outer.top), QPoint(k.outer.right - 1, k.outer.bottom - 1)));
    }
}
