// The brand and interface pictures of the settings application and the update helper:
// logos, banner, background, tab icons, battery levels and small icons.
#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

struct NVPicture {
    QString name; // below the res folder
    QSize size;   // at 1x
    std::function<void(QPainter&)> draw;
};

// Every brand picture, each drawn at 1x and 2x by the generator.
std::vector<NVPicture> nv_brand_pictures();
// The application icon of the given pixel size, for the icon file of the status item and the
// desktop's icon theme.
QImage nv_draw_app_icon(int px);
// The same icon painted on any device, e.g. a vector one, in a square of the given size.
void nv_paint_app_icon(QPainter& g, int px);
