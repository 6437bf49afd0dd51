#include "tools/picgen/NVBrandPictures.h"

#include "tools/picgen/NVPicCanvas.h"
#include "tools/picgen/NVPicStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

const NVPicPalette& nuvro()
{
    return nv_pic_palette(NVPicBrand::Nuvro);
}

const NVPicPalette& kelta()
{
    return nv_pic_palette(NVPicBrand::Kelta);
}

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

// A fountain-pen nib in the unit square, tip down.
QPainterPath unit_nib()
{
    QPainterPath nib;
    nib.moveTo(0.5, 0.88);
    nib.lineTo(0.30, 0.52);
    nib.cubicTo(0.30, 0.37, 0.40, 0.22, 0.5, 0.12);
    nib.cubicTo(0.60, 0.22, 0.70, 0.37, 0.70, 0.52);
    nib.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(0.5, 0.48), 0.06, 0.06);
    QPainterPath slit;
    slit.addRect(QRectF(0.487, 0.5, 0.026, 0.4));
    return nib.subtracted(hole).subtracted(slit);
}

// The brand mark: a rounded tile in the accent colour carrying a nib that writes
// towards the lower left.
void draw_mark(QPainter& g, const QRectF& r, const NVPicPalette& p)
{
    const double s = r.width();
    QLinearGradient tile(r.topLeft(), r.bottomRight());
    tile.setColorAt(0, p.accentLight);
    tile.setColorAt(1, p.accent.darker(118));
    g.setPen(Qt::NoPen);
    g.setBrush(tile);
    g.drawRoundedRect(r, s * 0.22, s * 0.22);
    QTransform t;
    t.translate(r.x(), r.y());
    t.scale(s, s);
    t.translate(0.5, 0.5);
    t.rotate(35);
    t.scale(0.92, 0.92);
    t.translate(-0.5, -0.5);
    g.setBrush(QColor(0, 0, 0, 40));
    g.drawPath(t.map(unit_nib()).translated(0, s * 0.02));
    g.setBrush(p.paper);
    g.drawPath(t.map(unit_nib()));
}

void draw_logo(QPainter& g, const QSize& size, const NVPicPalette& p, const char* name, const QColor& text)
{
    const double h = size.height();
    draw_mark(g, QRectF(h * 0.1, h * 0.1, h * 0.8, h * 0.8), p);
    g.setFont(nv_pic_font(h * 0.5));
    g.setPen(text);
    g.drawText(QRectF(h * 1.1, 0, size.width() - h * 1.1, h), Qt::AlignLeft | Qt::AlignVCenter, name);
}

// Graphite ground with a soft glow of the accent and a few wide arcs.
void draw_ground(QPainter& g, const QSize& size, const NVPicPalette& p, QPointF glowAt)
{
    const QRectF r(QPointF(0, 0), size);
    QLinearGradient base(r.topLeft(), r.bottomLeft());
    base.setColorAt(0, p.bodyTop);
    base.setColorAt(1, p.bodyBottom.darker(125));
    g.fillRect(r, base);
    const double reach = std::max(r.width(), r.height());
    QRadialGradient glow(glowAt, reach * 0.7);
    glow.setColorAt(0, alpha(p.accent, 70));
    glow.setColorAt(1, alpha(p.accent, 0));
    g.fillRect(r, glow);
    g.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const double rad = reach * (0.35 + 0.16 * i);
        g.setPen(QPen(QColor(255, 255, 255, 12 - 2 * i), reach * 0.004 + 1));
        g.drawEllipse(glowAt, rad, rad);
    }
}

void draw_banner(QPainter& g, const QSize& size)
{
    const NVPicPalette& p = nuvro();
    draw_ground(g, size, p, QPointF(size.width() * 0.85, size.height() * 1.1));
    const double h = size.height();
    // Two strokes sweeping across, as a pen would draw them.
    for (int i = 0; i < 2; ++i) {
        QPainterPath sweep;
        sweep.moveTo(size.width() * 0.35, h * (0.95 - i * 0.12));
        sweep.cubicTo(size.width() * 0.55, h * (0.4 - i * 0.1), size.width() * 0.75, h * (1.0 - i * 0.1),
                      size.width(), h * (0.3 - i * 0.15));
        g.setPen(QPen(alpha(i ? p.accentLight : p.accent, i ? 120 : 200), h * (i ? 0.02 : 0.045), Qt::SolidLine,
                      Qt::RoundCap));
        g.drawPath(sweep);
    }
    draw_mark(g, QRectF(h * 0.22, h * 0.22, h * 0.56, h * 0.56), p);
    g.setFont(nv_pic_font(h * 0.36));
    g.setPen(p.paper);
    g.drawText(QRectF(h * 0.95, 0, size.width(), h), Qt::AlignLeft | Qt::AlignVCenter, "Nuvro");
}

// Tab glyphs: 0 keys, 1 pen, 2 work area, 3 information.
void draw_tab_glyph(QPainter& g, const QRectF& box, int index, const QColor& line, const QColor& accent)
{
    const double u = box.width() / 24;
    auto at = [&](double x, double y) { return box.topLeft() + QPointF(x * u, y * u); };
    auto rect = [&](double x, double y, double w, double h) { return QRectF(at(x, y), QSizeF(w * u, h * u)); };
    const QPen stroke(line, 1.6 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    g.setPen(stroke);
    g.setBrush(Qt::NoBrush);
    switch (index) {
    case 0:
        g.drawRoundedRect(rect(2, 5, 20, 14), 2.5 * u, 2.5 * u);
        g.drawRoundedRect(rect(9, 8, 10, 8), 1 * u, 1 * u);
        g.setPen(Qt::NoPen);
        g.setBrush(accent);
        for (int k = 0; k < 3; ++k)
            g.drawRoundedRect(rect(4.6, 7.8 + k * 3, 2.6, 1.8), 0.8 * u, 0.8 * u);
        break;
    case 1: {
        g.save();
        g.translate(at(12, 12));
        g.rotate(45);
        g.translate(-at(12, 12));
        g.drawRoundedRect(rect(10, 2, 4, 15), 2 * u, 2 * u);
        g.drawPolyline(QPolygonF{at(10.2, 17), at(12, 22), at(13.8, 17)});
        g.setPen(Qt::NoPen);
        g.setBrush(accent);
        g.drawRoundedRect(rect(11.1, 8, 1.8, 3.4), 0.9 * u, 0.9 * u);
        g.restore();
        break;
    }
    case 2:
        g.drawRoundedRect(rect(2, 4, 20, 13), 1.5 * u, 1.5 * u);
        g.drawLine(at(12, 17), at(12, 20.5));
        g.drawLine(at(8, 20.5), at(16, 20.5));
        g.setPen(QPen(accent, 1.4 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.setBrush(alpha(accent, 70));
        g.drawRect(rect(6, 7.5, 12, 6));
        break;
    default:
        g.drawEllipse(at(12, 12), 9.5 * u, 9.5 * u);
        g.setPen(Qt::NoPen);
        g.setBrush(accent);
        g.drawEllipse(at(12, 7.6), 1.4 * u, 1.4 * u);
        g.drawRoundedRect(rect(10.9, 10.4, 2.2, 7.6), 1.1 * u, 1.1 * u);
        break;
    }
}

void draw_nuvro_tab(QPainter& g, const QSize& size, int index)
{
    const NVPicPalette& p = nuvro();
    const QRectF r(QPointF(0, 0), size);
    QLinearGradient tile(r.topLeft(), r.bottomLeft());
    tile.setColorAt(0, p.bodyTop);
    tile.setColorAt(1, p.bodyBottom);
    g.fillRect(r, tile);
    draw_tab_glyph(g, r.adjusted(size.width() * 0.12, size.height() * 0.12, -size.width() * 0.12, -size.height() * 0.12),
                   index, p.paper, p.accentLight);
}

void draw_kelta_tab(QPainter& g, const QSize& size, int index)
{
    const QRectF r(QPointF(0, 0), size);
    draw_tab_glyph(g, r.adjusted(size.width() * 0.08, size.height() * 0.08, -size.width() * 0.08, -size.height() * 0.08),
                   index, kelta().ink, kelta().accent);
}

QColor battery_colour(int percent)
{
    if (percent <= 20)
        return QColor(0xe5, 0x48, 0x4d);
    if (percent <= 40)
        return QColor(0xe8, 0xa2, 0x3a);
    return nuvro().accent;
}

// A battery lying on its side, filled to the level; the percentage is written over it
// in white by the window, so its inside stays dark.
void draw_battery(QPainter& g, const QSize& size, int percent)
{
    const double w = size.width(), h = size.height();
    const QRectF shell(1, 1, w - 6, h - 2);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0x1b, 0x1d, 0x21, 210));
    g.drawRoundedRect(shell, h * 0.2, h * 0.2);
    g.setBrush(QColor(0xc9, 0xce, 0xd4));
    g.drawRoundedRect(QRectF(w - 5, h * 0.32, 4, h * 0.36), 1.2, 1.2);
    const QRectF inside = shell.adjusted(3, 3, -3, -3);
    QLinearGradient fill(inside.topLeft(), inside.bottomLeft());
    fill.setColorAt(0, battery_colour(percent).lighter(120));
    fill.setColorAt(1, battery_colour(percent).darker(110));
    g.setBrush(fill);
    g.drawRoundedRect(QRectF(inside.topLeft(), QSizeF(inside.width() * percent / 100.0, inside.height())), 1.5, 1.5);
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(QColor(0xc9, 0xce, 0xd4), 1.5));
    g.drawRoundedRect(shell.adjusted(0.75, 0.75, -0.75, -0.75), h * 0.2, h * 0.2);
}

void draw_app_list(QPainter& g, const QSize& size)
{
    const NVPicPalette& p = nuvro();
    const double s = size.width();
    const QRectF r(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    QLinearGradient tile(r.topLeft(), r.bottomLeft());
    tile.setColorAt(0, p.bodyTop);
    tile.setColorAt(1, p.bodyBottom);
    g.setPen(Qt::NoPen);
    g.setBrush(tile);
    g.drawRoundedRect(r, s * 0.2, s * 0.2);
    const QColor cells[] = {p.accent, p.paper, p.paper, p.accentLight};
    const double cell = s * 0.26, gap = s * 0.08, x0 = s * 0.5 - cell - gap / 2;
    for (int i = 0; i < 4; ++i) {
        g.setBrush(cells[i]);
        g.drawRoundedRect(QRectF(x0 + (i % 2) * (cell + gap), x0 + (i / 2) * (cell + gap), cell, cell), s * 0.06,
                          s * 0.06);
    }
}

void draw_question(QPainter& g, const QSize& size)
{
    const NVPicPalette& p = nuvro();
    const double s = size.width();
    const QRectF r(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    QLinearGradient tile(r.topLeft(), r.bottomLeft());
    tile.setColorAt(0, QColor(0xe9, 0xec, 0xef));
    tile.setColorAt(1, QColor(0xc8, 0xcd, 0xd3));
    g.setPen(QPen(QColor(0xa9, 0xaf, 0xb7), s * 0.02));
    g.setBrush(tile);
    g.drawRoundedRect(r, s * 0.2, s * 0.2);
    QPainterPath mark;
    mark.moveTo(s * 0.36, s * 0.38);
    mark.cubicTo(s * 0.36, s * 0.22, s * 0.64, s * 0.22, s * 0.64, s * 0.38);
    mark.cubicTo(s * 0.64, s * 0.48, s * 0.5, s * 0.5, s * 0.5, s * 0.6);
    g.setPen(QPen(p.ink, s * 0.085, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    g.drawPath(mark);
    g.setPen(Qt::NoPen);
    g.setBrush(p.ink);
    g.drawEllipse(QPointF(s * 0.5, s * 0.74), s * 0.055, s * 0.055);
}

// The dark metal of the preferences' items, so that they read as one set.
QLinearGradient toolbar_metal(double s)
{
    QLinearGradient metal(QPointF(0, 0), QPointF(0, s));
    metal.setColorAt(0, QColor(0x6a, 0x71, 0x7a));
    metal.setColorAt(1, QColor(0x3d, 0x42, 0x49));
    return metal;
}

QPainterPath gear(const QPointF& c, double outer)
{
    const int teeth = 8;
    const double inner = outer * 0.76;
    QPolygonF rim;
    for (int i = 0; i < teeth; ++i) {
        const double a = i * 2 * std::numbers::pi / teeth;
        const double step = 2 * std::numbers::pi / teeth;
        for (auto [da, rad] : {std::pair{-0.3, inner}, {-0.17, outer}, {0.17, outer}, {0.3, inner}})
            rim << c + QPointF(std::cos(a + da * step * 1.5), std::sin(a + da * step * 1.5)) * rad;
    }
    QPainterPath path;
    path.addPolygon(rim);
    path.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, outer * 0.32, outer * 0.32);
    return path.subtracted(hole);
}

void draw_settings(QPainter& g, const QSize& size, bool update)
{
    const NVPicPalette& p = nuvro();
    const double s = size.width();
    g.setPen(QPen(QColor(0x2b, 0x2e, 0x33), s * 0.03));
    g.setBrush(toolbar_metal(s));
    g.drawPath(gear(QPointF(s * 0.5, s * 0.5), s * 0.44));
    if (update) {
        g.setPen(QPen(Qt::white, s * 0.05));
        g.setBrush(p.accent);
        g.drawEllipse(QPointF(s * 0.78, s * 0.22), s * 0.2, s * 0.2);
        g.setPen(QPen(Qt::white, s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.drawPolyline(QPolygonF{QPointF(s * 0.7, s * 0.23), QPointF(s * 0.78, s * 0.15), QPointF(s * 0.86, s * 0.23)});
        g.drawLine(QPointF(s * 0.78, s * 0.16), QPointF(s * 0.78, s * 0.31));
    }
}

// A keyboard key seen slightly from above, a return arrow on its top.
void draw_hotkeys(QPainter& g, const QSize& size)
{
    const double s = size.width();
    g.setPen(QPen(QColor(0x2b, 0x2e, 0x33), s * 0.03));
    g.setBrush(toolbar_metal(s));
    g.drawRoundedRect(QRectF(s * 0.08, s * 0.1, s * 0.84, s * 0.8), s * 0.16, s * 0.16);
    QLinearGradient top(QPointF(0, s * 0.14), QPointF(0, s * 0.7));
    top.setColorAt(0, QColor(0x9a, 0xa1, 0xa9));
    top.setColorAt(1, QColor(0x72, 0x79, 0x82));
    g.setPen(Qt::NoPen);
    g.setBrush(top);
    g.drawRoundedRect(QRectF(s * 0.17, s * 0.15, s * 0.66, s * 0.58), s * 0.1, s * 0.1);
    g.setPen(QPen(Qt::white, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    g.drawPolyline(QPolygonF{QPointF(s * 0.64, s * 0.28), QPointF(s * 0.64, s * 0.5), QPointF(s * 0.34, s * 0.5)});
    g.drawPolyline(QPolygonF{QPointF(s * 0.43, s * 0.41), QPointF(s * 0.34, s * 0.5), QPointF(s * 0.43, s * 0.59)});
}

// A display on its stand, its screen in the accent colour.
void draw_monitor(QPainter& g, const QSize& size)
{
    const NVPicPalette& p = nuvro();
    const double s = size.width();
    g.setPen(QPen(QColor(0x2b, 0x2e, 0x33), s * 0.03));
    g.setBrush(toolbar_metal(s));
    g.drawRect(QRectF(s * 0.42, s * 0.7, s * 0.16, s * 0.14));
    g.drawRoundedRect(QRectF(s * 0.26, s * 0.82, s * 0.48, s * 0.09), s * 0.04, s * 0.04);
    g.drawRoundedRect(QRectF(s * 0.04, s * 0.12, s * 0.92, s * 0.62), s * 0.08, s * 0.08);
    QLinearGradient screen(QPointF(0, s * 0.18), QPointF(s, s * 0.68));
    screen.setColorAt(0, p.accentLight);
    screen.setColorAt(1, p.accent.darker(125));
    g.setPen(Qt::NoPen);
    g.setBrush(screen);
    g.drawRect(QRectF(s * 0.11, s * 0.19, s * 0.78, s * 0.48));
    g.setBrush(QColor(255, 255, 255, 70));
    QPainterPath glare;
    glare.moveTo(s * 0.11, s * 0.19);
    glare.lineTo(s * 0.5, s * 0.19);
    glare.lineTo(s * 0.11, s * 0.52);
    glare.closeSubpath();
    g.drawPath(glare);
}

// An eraser wiping a line away.
void draw_clean(QPainter& g, const QSize& size)
{
    const NVPicPalette& p = nuvro();
    const double s = size.width();
    g.setPen(QPen(QColor(0x8a, 0x90, 0x98), s * 0.06, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(s * 0.12, s * 0.88), QPointF(s * 0.88, s * 0.88));
    g.save();
    g.translate(s * 0.52, s * 0.48);
    g.rotate(-40);
    const QRectF block(-s * 0.4, -s * 0.2, s * 0.8, s * 0.4);
    g.setPen(Qt::NoPen);
    g.setBrush(p.ink);
    g.drawRoundedRect(block, s * 0.06, s * 0.06);
    g.setBrush(p.accent);
    g.drawRoundedRect(QRectF(block.left(), block.top(), block.width() * 0.42, block.height()), s * 0.06, s * 0.06);
    g.drawRect(QRectF(block.left() + block.width() * 0.2, block.top(), block.width() * 0.22, block.height()));
    g.setPen(QPen(QColor(255, 255, 255, 90), s * 0.03));
    g.drawLine(QPointF(block.left() + s * 0.05, block.top() + s * 0.05),
               QPointF(block.right() - s * 0.05, block.top() + s * 0.05));
    g.restore();
}

void draw_warning(QPainter& g, const QSize& size)
{
    const double s = size.width();
    QPainterPath tri;
    tri.moveTo(s * 0.5, s * 0.08);
    tri.lineTo(s * 0.95, s * 0.88);
    tri.lineTo(s * 0.05, s * 0.88);
    tri.closeSubpath();
    g.setPen(QPen(QColor(0xd8, 0x8a, 0x12), s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(QColor(0xf5, 0xb0, 0x2e));
    g.drawPath(tri);
    g.setPen(Qt::NoPen);
    g.setBrush(nuvro().ink);
    g.drawRoundedRect(QRectF(s * 0.455, s * 0.32, s * 0.09, s * 0.3), s * 0.045, s * 0.045);
    g.drawEllipse(QPointF(s * 0.5, s * 0.74), s * 0.055, s * 0.055);
}

void draw_icon(QPainter& g, const QSize& size)
{
    const double s = size.width();
    if (s >= 48) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0, 0, 0, 45));
        g.drawRoundedRect(QRectF(s * 0.08, s * 0.1, s * 0.86, s * 0.86), s * 0.19, s * 0.19);
        draw_mark(g, QRectF(s * 0.06, s * 0.06, s * 0.86, s * 0.86), nuvro());
        return;
    }
    draw_mark(g, QRectF(0, 0, s, s), nuvro());
}

} // namespace

std::vector<NVPicture> nv_brand_pictures()
{
    std::vector<NVPicture> list = {
        {"NuvroUI/Nuvro_logo.png", QSize(220, 64),
         [](QPainter& g) { draw_logo(g, QSize(220, 64), nuvro(), "Nuvro", nuvro().paper); }},
        {"KeltaUI/Kelta_logo.png", QSize(220, 64),
         [](QPainter& g) { draw_logo(g, QSize(220, 64), kelta(), "Kelta", kelta().ink); }},
        {"NuvroUI/BANNER.jpg", QSize(480, 120), [](QPainter& g) { draw_banner(g, QSize(480, 120)); }},
        {"NuvroUI/Nuvro_bg.jpg", QSize(960, 640),
         [](QPainter& g) { draw_ground(g, QSize(960, 640), nuvro(), QPointF(900, 700)); }},
        {"appList.png", QSize(64, 64), [](QPainter& g) { draw_app_list(g, QSize(64, 64)); }},
        {"GenericQuestionMarkIcon.png", QSize(64, 64), [](QPainter& g) { draw_question(g, QSize(64, 64)); }},
        {"settings.png", QSize(32, 32), [](QPainter& g) { draw_settings(g, QSize(32, 32), false); }},
        {"settingsWithUpdate_new.png", QSize(32, 32), [](QPainter& g) { draw_settings(g, QSize(32, 32), true); }},
        {"hotkeys.png", QSize(32, 32), [](QPainter& g) { draw_hotkeys(g, QSize(32, 32)); }},
        {"monitor.png", QSize(32, 32), [](QPainter& g) { draw_monitor(g, QSize(32, 32)); }},
        {"clean.png", QSize(24, 24), [](QPainter& g) { draw_clean(g, QSize(24, 24)); }},
        {"warnning.png", QSize(24, 24), [](QPainter& g) { draw_warning(g, QSize(24, 24)); }},
        {"NUVRO.png", QSize(128, 128), [](QPainter& g) { draw_icon(g, QSize(128, 128)); }},
    };
    for (int i = 0; i < 4; ++i) {
        list.push_back({QString("NuvroUI/Nuvro_icon%1.jpg").arg(i), QSize(48, 48),
                        [i](QPainter& g) { draw_nuvro_tab(g, QSize(48, 48), i); }});
        list.push_back({QString("KeltaUI/Kelta_icon%1.png").arg(i), QSize(48, 48),
                        [i](QPainter& g) { draw_kelta_tab(g, QSize(48, 48), i); }});
    }
    for (int percent : {20, 40, 60, 80, 100})
        list.push_back({QString("充电指示_%1.png").arg(percent), QSize(44, 22),
                        [percent](QPainter& g) { draw_battery(g, QSize(44, 22), percent); }});
    return list;
}

QImage nv_draw_app_icon(int px)
{
    return nv_pic_render(QSize(px, px), 1, [px](QPainter& g) { nv_paint_app_icon(g, px); });
}

void nv_paint_app_icon(QPainter& g, int px)
{
    draw_icon(g, QSize(px, px));
}
