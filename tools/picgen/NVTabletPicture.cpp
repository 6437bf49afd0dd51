#include "tools/picgen/NVTabletPicture.h"

#include "tools/picgen/NVPicCanvas.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool empty(const NVRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

void draw_body(QPainter& g, const NVLayoutTablet& l, const NVPicPalette& p)
{
    const QRectF body(0, 0, l.size.cx, l.size.cy);
    const double radius = std::min(l.size.cx, l.size.cy) * 0.05;
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, p.bodyTop);
    shade.setColorAt(1, p.bodyBottom);
    g.setPen(Qt::NoPen);
    g.setBrush(shade);
    g.drawRoundedRect(body, radius, radius);
    // A soft sheen from the upper left, as from a light above the desk.
    QRadialGradient sheen(QPointF(body.width() * 0.2, -body.height() * 0.3), body.width() * 0.9);
    sheen.setColorAt(0, QColor(255, 255, 255, 22));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    g.setBrush(sheen);
    g.drawRoundedRect(body, radius, radius);
    // Chamfer: a light inner edge fading downwards inside a dark outline.
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(QColor(0x12, 0x14, 0x17), 1.0));
    g.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QLinearGradient edge(body.topLeft(), body.bottomLeft());
    edge.setColorAt(0, QColor(255, 255, 255, 60));
    edge.setColorAt(0.5, QColor(255, 255, 255, 8));
    g.setPen(QPen(QBrush(edge), 1.0));
    g.drawRoundedRect(body.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
}

void draw_corner_marks(QPainter& g, const QRectF& wa, const NVPicPalette& p)
{
    const double inset = 10, arm = std::min(18.0, std::min(wa.width(), wa.height()) * 0.1);
    g.setPen(QPen(p.accent, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    const QRectF in = wa.adjusted(inset, inset, -inset, -inset);
    for (const QPointF& c : {in.topLeft(), in.topRight(), in.bottomLeft(), in.bottomRight()}) {
        const double dx = c.x() < wa.center().x() ? arm : -arm;
        const double dy = c.y() < wa.center().y() ? arm : -arm;
        g.drawPolyline(QPolygonF{QPointF(c.x() + dx, c.y()), c, QPointF(c.x(), c.y() + dy)});
    }
}

// A recessed drawing surface: darker than the body, shadowed at its upper edge.
void draw_surface(QPainter& g, const QRectF& wa, const NVPicPalette& p, bool marks)
{
    const double r = 6;
    g.setPen(Qt::NoPen);
    g.setBrush(p.panel);
    g.drawRoundedRect(wa, r, r);
    QLinearGradient inner(wa.topLeft(), wa.bottomLeft());
    inner.setColorAt(0, QColor(0, 0, 0, 70));
    inner.setColorAt(std::min(1.0, 12.0 / std::max(1.0, wa.height())), QColor(0, 0, 0, 0));
    g.setBrush(inner);
    g.drawRoundedRect(wa, r, r);
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(p.panelEdge, 1.0));
    g.drawRoundedRect(wa.adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    QLinearGradient lip(wa.topLeft(), wa.bottomLeft());
    lip.setColorAt(0, QColor(255, 255, 255, 0));
    lip.setColorAt(1, QColor(255, 255, 255, 40));
    g.setPen(QPen(QBrush(lip), 1.0));
    g.drawRoundedRect(wa.adjusted(-0.5, -0.5, 0.5, 0.5), r + 1, r + 1);
    if (marks)
        draw_corner_marks(g, wa, p);
}

// The screen of a pen display behind its glass, with a faint reflection.
void draw_display(QPainter& g, const QRectF& wa, const NVPicPalette& p)
{
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0x05, 0x06, 0x07));
    g.drawRoundedRect(wa.adjusted(-3, -3, 3, 3), 4, 4);
    QLinearGradient screen(wa.topLeft(), wa.bottomRight());
    screen.setColorAt(0, p.display.lighter(160));
    screen.setColorAt(1, p.display);
    g.setBrush(screen);
    g.drawRect(wa);
    QPainterPath glare;
    glare.moveTo(wa.left(), wa.top());
    glare.lineTo(wa.left() + wa.width() * 0.42, wa.top());
    glare.lineTo(wa.left() + wa.width() * 0.18, wa.bottom());
    glare.lineTo(wa.left(), wa.bottom());
    glare.closeSubpath();
    QLinearGradient fade(wa.topLeft(), QPointF(wa.left() + wa.width() * 0.4, wa.bottom()));
    fade.setColorAt(0, QColor(255, 255, 255, 16));
    fade.setColorAt(1, QColor(255, 255, 255, 0));
    g.setBrush(fade);
    g.drawPath(glare);
}

// A raised key: a shadow below, a flat face, a highlight along its upper edge.
void draw_key(QPainter& g, const QRectF& k, const QColor& face, const NVPicPalette& p)
{
    const double r = std::min(6.0, std::min(k.width(), k.height()) * 0.3);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 0, 90));
    g.drawRoundedRect(k.translated(0, 1.2), r, r);
    g.setBrush(face);
    g.setPen(QPen(p.keyEdge, 1.0));
    g.drawRoundedRect(k.adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    g.setPen(QPen(QColor(255, 255, 255, 50), 1.0, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(k.left() + r + 1, k.top() + 1.5), QPointF(k.right() - r - 1, k.top() + 1.5));
}

// A touch key of the strip on the active area: flat, marked by an accent line.
void draw_soft_key(QPainter& g, const QRectF& k, const NVPicPalette& p)
{
    g.setPen(QPen(QColor(255, 255, 255, 24), 1.0));
    g.setBrush(p.softKey);
    g.drawRoundedRect(k.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    const double inset = std::min(10.0, k.width() * 0.25);
    g.setPen(QPen(p.accent, 2.0, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(k.left() + inset, k.bottom() - 4), QPointF(k.right() - inset, k.bottom() - 4));
}

// A ring of positions around a centre button: a rocker for two positions, a dial with
// detents for a few, a touch ring with a tick per position for many.
void draw_ring(QPainter& g, const NVLayoutEkey& k, int positions, const NVPicPalette& p)
{
    const QRectF outer = nv_pic_rect(k.rect);
    const QPointF c = outer.center();
    const double ro = std::min(outer.width(), outer.height()) / 2 - 1;
    const double ri = empty(k.inRect) ? ro * 0.5 : std::min(nv_pic_rect(k.inRect).width(), nv_pic_rect(k.inRect).height()) / 2;
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 0, 110));
    g.drawEllipse(c + QPointF(0, 1.5), ro + 1, ro + 1);
    QRadialGradient face(c - QPointF(0, ro * 0.4), ro * 1.6);
    face.setColorAt(0, p.ring.lighter(125));
    face.setColorAt(1, p.ring);
    g.setBrush(face);
    g.setPen(QPen(p.keyEdge, 1.0));
    g.drawEllipse(c, ro - 0.5, ro - 0.5);

    const double mid = (ro + ri) / 2;
    const double band = ro - ri;
    if (positions == 2) {
        g.setPen(Qt::NoPen);
        g.setBrush(p.paper);
        const double a = band * 0.22;
        for (int s : {-1, 1}) {
            const QPointF tip = c + QPointF(0, s * (mid + a * 0.6));
            g.drawPolygon(QPolygonF{tip, tip + QPointF(-a, -s * a * 1.2), tip + QPointF(a, -s * a * 1.2)});
        }
    } else if (positions > 0) {
        const bool touch = positions > 4;
        for (int i = 0; i < positions; ++i) {
            const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / positions;
            const QPointF dir(std::cos(angle), std::sin(angle));
            const QColor mark = i == 0 ? p.accentLight : QColor(255, 255, 255, 110);
            if (touch) {
                g.setPen(QPen(mark, 1.5, Qt::SolidLine, Qt::RoundCap));
                g.drawLine(c + dir * (ri + band * 0.3), c + dir * (ro - band * 0.25));
            } else {
                g.setPen(Qt::NoPen);
                g.setBrush(mark);
                g.drawEllipse(c + dir * mid, band * 0.09, band * 0.09);
            }
        }
    }
    // The centre button, set in a groove with an accent edge.
    g.setPen(Qt::NoPen);
    g.setBrush(p.panelEdge);
    g.drawEllipse(c, ri, ri);
    g.setBrush(p.key);
    g.setPen(QPen(p.accent, 1.5));
    g.drawEllipse(c, ri - 3, ri - 3);
}

void draw_brand(QPainter& g, const NVLayoutTablet& l, const QRectF& wa, NVPicBrand brand)
{
    const char* name = nv_pic_brand_name(brand);
    const double margin = l.size.cy - wa.bottom();
    if (!name || margin < 16)
        return;
    const QRectF band(wa.left(), wa.bottom(), wa.width(), margin);
    g.setFont(nv_pic_font(margin * 0.42));
    g.setPen(QColor(0, 0, 0, 110));
    g.drawText(band.translated(0, 1), Qt::AlignCenter, name);
    g.setPen(QColor(255, 255, 255, 80));
    g.drawText(band, Qt::AlignCenter, name);
}

// The power light, in the upper bezel at the right of the active area.
void draw_light(QPainter& g, const NVLayoutTablet& l, const QRectF& wa, const NVPicPalette& p)
{
    if (wa.top() < 12 || l.size.cx - wa.right() < 0)
        return;
    const QPointF c(wa.right() - 12, wa.top() / 2);
    QRadialGradient glow(c, 7);
    glow.setColorAt(0, p.accentLight);
    glow.setColorAt(0.35, p.accent);
    glow.setColorAt(1, QColor(p.accent.red(), p.accent.green(), p.accent.blue(), 0));
    g.setPen(Qt::NoPen);
    g.setBrush(glow);
    g.drawEllipse(c, 7, 7);
}

} // namespace

QImage nv_draw_tablet(const NVLayoutTablet& l, const NVTabletLook& look, int scale)
{
    const NVPicPalette& p = nv_pic_palette(look.brand);
    return nv_pic_render(nv_pic_pixel_size(l.size, 1), scale, [&](QPainter& g) {
        draw_body(g, l, p);
        const QRectF wa = nv_pic_rect(l.workarea);
        if (look.monitor)
            draw_display(g, wa, p);
        else
            draw_surface(g, wa, p, l.sbtnNum == 0);
        draw_light(g, l, wa, p);
        draw_brand(g, l, wa, look.brand);
        for (uint32_t d = 0; d < l.sbtnNum; ++d)
            draw_soft_key(g, nv_pic_rect(l.sbtns[d].rect), p);
        for (uint32_t d = 0; d < l.hbtnNum; ++d)
            draw_key(g, nv_pic_rect(l.hbtns[d].rect), p.key, p);
        for (uint32_t d = 0; d < l.mekeyNum; ++d) {
            const int positions = d < l.mekeyNamesAlloc ? static_cast<int>(l.mekeyNames[d].num) : 0;
            draw_ring(g, l.mekeys[d], positions, p);
        }
    });
}
