#include "tools/picgen/NVPenPicture.h"

#include "tools/picgen/NVPicCanvas.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>

namespace {

// Where the parts of the pen lie along its axis, from the layout's buttons.
struct PenShape {
    double axis;          // x of the pen's axis
    double half;          // half width of the barrel
    double top;           // end of the cap
    double gripTop, gripBottom;
    double taper;         // where the barrel starts narrowing towards the tip
    QRectF tip;           // the nib
};

PenShape shape_of(const NVLayoutPen& l)
{
    const double w = l.size.cx, h = l.size.cy;
    PenShape s{w / 2, w * 0.2, h * 0.02, h * 0.4, h * 0.7, h * 0.8, QRectF(w * 0.38, h * 0.93, w * 0.24, h * 0.07)};
    if (l.ekNum > 0)
        s.tip = nv_pic_rect(l.ekLayouts[0].rect);
    s.axis = s.tip.center().x();
    double buttonsTop = h, buttonsBottom = 0;
    for (uint32_t d = 1; d < l.ekNum; ++d) {
        const QRectF b = nv_pic_rect(l.ekLayouts[d].rect);
        s.half = std::max(s.half, std::max(s.axis - b.left(), b.right() - s.axis) + 4);
        buttonsTop = std::min(buttonsTop, b.top());
        buttonsBottom = std::max(buttonsBottom, b.bottom());
    }
    s.half = std::min(s.half, std::min(s.axis, w - s.axis) - 4);
    if (buttonsBottom > buttonsTop) {
        s.gripTop = buttonsTop - h * 0.07;
        s.gripBottom = buttonsBottom + h * 0.1;
    }
    s.taper = std::max(s.gripBottom, s.tip.top() - h * 0.16);
    return s;
}

QPainterPath outline(const PenShape& s)
{
    const double collar = s.tip.width() / 2 + 3;
    QPainterPath p;
    p.moveTo(s.axis - s.half, s.taper);
    p.lineTo(s.axis - s.half, s.top + s.half);
    p.arcTo(QRectF(s.axis - s.half, s.top, 2 * s.half, 2 * s.half), 180, -180);
    p.lineTo(s.axis + s.half, s.taper);
    p.cubicTo(s.axis + s.half, s.taper + (s.tip.top() - s.taper) * 0.6, s.axis + collar, s.tip.top() - 8,
              s.axis + collar, s.tip.top());
    p.lineTo(s.axis - collar, s.tip.top());
    p.cubicTo(s.axis - collar, s.tip.top() - 8, s.axis - s.half, s.taper + (s.tip.top() - s.taper) * 0.6,
              s.axis - s.half, s.taper);
    p.closeSubpath();
    return p;
}

// Light from the left: the round barrel is brightest a third of the way across.
QLinearGradient cylinder(const PenShape& s, const QColor& base)
{
    QLinearGradient g(QPointF(s.axis - s.half, 0), QPointF(s.axis + s.half, 0));
    g.setColorAt(0, base.darker(140));
    g.setColorAt(0.3, base.lighter(150));
    g.setColorAt(0.55, base);
    g.setColorAt(1, base.darker(170));
    return g;
}

void draw_barrel(QPainter& g, const PenShape& s, const NVPicPalette& p)
{
    const QPainterPath body = outline(s);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 0, 50));
    g.drawPath(body.translated(3, 2));
    g.setBrush(cylinder(s, p.bodyTop));
    g.drawPath(body);

    g.save();
    g.setClipPath(body);
    const double w = 2 * s.half + 2;
    g.setBrush(cylinder(s, p.bodyBottom));
    g.drawRect(QRectF(s.axis - s.half - 1, s.gripTop, w, s.gripBottom - s.gripTop));
    // Accent bands: one closing the grip, a thin one under the cap.
    g.setBrush(cylinder(s, p.accent));
    g.drawRect(QRectF(s.axis - s.half - 1, s.gripTop - 6, w, 6));
    g.drawRect(QRectF(s.axis - s.half - 1, s.top + s.half * 3, w, 2.5));
    g.restore();

    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
    g.drawPath(body);
}

void draw_nib(QPainter& g, const PenShape& s, const NVPicPalette& p)
{
    const QRectF t = s.tip;
    QPainterPath nib;
    nib.moveTo(t.left(), t.top());
    nib.lineTo(t.right(), t.top());
    nib.lineTo(s.axis + 1.5, t.bottom() - 1.5);
    nib.quadTo(s.axis, t.bottom(), s.axis - 1.5, t.bottom() - 1.5);
    nib.closeSubpath();
    g.setPen(QPen(p.nib.darker(150), 1.0));
    g.setBrush(p.nib);
    g.drawPath(nib);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 255, 255, 90));
    g.drawPolygon(QPolygonF{QPointF(t.left() + 3, t.top() + 1), QPointF(t.left() + t.width() * 0.3, t.top() + 1),
                            QPointF(s.axis - 1, t.bottom() - 5)});
}

void draw_button(QPainter& g, const QRectF& b, const NVPicPalette& p)
{
    const double r = std::min(b.width(), b.height()) * 0.35;
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 0, 150));
    g.drawRoundedRect(b.adjusted(-2, -2, 2, 2), r + 2, r + 2);
    g.setBrush(p.key);
    g.setPen(QPen(p.keyEdge, 1.0));
    g.drawRoundedRect(b.adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    g.setPen(QPen(QColor(255, 255, 255, 60), 1.5, Qt::SolidLine, Qt::RoundCap));
    const double x = b.left() + b.width() * 0.25;
    g.drawLine(QPointF(x, b.top() + r), QPointF(x, b.bottom() - r));
}

} // namespace

QImage nv_draw_pen(const NVLayoutPen& l, NVPicBrand brand, int scale)
{
    const NVPicPalette& p = nv_pic_palette(brand);
    const PenShape s = shape_of(l);
    return nv_pic_render(nv_pic_pixel_size(l.size, 1), scale, [&](QPainter& g) {
        draw_barrel(g, s, p);
        draw_nib(g, s, p);
        for (uint32_t d = 1; d < l.ekNum; ++d)
            draw_button(g, nv_pic_rect(l.ekLayouts[d].rect), p);
    });
}
