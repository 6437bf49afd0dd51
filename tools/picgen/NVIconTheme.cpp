#include "tools/picgen/NVIconTheme.h"

#include "tools/picgen/NVBrandPictures.h"
#include "tools/picgen/NVPicCanvas.h"

#include <QDir>
#include <QPainter>
#include <QSvgGenerator>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};
// The vector icon is drawn on a canvas of this many units; desktops scale it freely.
constexpr int kScalableUnits = 256;

bool write_svg(const QString& path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kScalableUnits, kScalableUnits));
    svg.setViewBox(QRect(0, 0, kScalableUnits, kScalableUnits));
    svg.setTitle("NuvroTablet");
    QPainter g;
    if (!g.begin(&svg))
        return false;
    g.setRenderHint(QPainter::Antialiasing);
    nv_paint_app_icon(g, kScalableUnits);
    return g.end();
}

} // namespace

std::span<const int> nv_icon_theme_sizes()
{
    return kSizes;
}

bool nv_write_icon_theme(const QString& dir, const QString& name)
{
    bool ok = true;
    for (int px : kSizes)
        ok = nv_pic_save(nv_draw_app_icon(px), QString("%1/hicolor/%2x%2/apps/%3.png").arg(dir).arg(px).arg(name)) && ok;
    const QString scalable = dir + "/hicolor/scalable/apps";
    return ok && QDir().mkpath(scalable) && write_svg(scalable + "/" + name + ".svg");
}
