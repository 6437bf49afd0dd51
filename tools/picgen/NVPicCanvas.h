// Drawing a picture at 1x and 2x from one description in layout units, and the file
// names Qt looks for on high-density screens.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>

// A transparent image of size * scale, drawn antialiased by draw in units of the 1x picture.
QImage nv_pic_render(QSize size, int scale, const std::function<void(QPainter&)>& draw);
// "dir/name.png" -> "dir/name@2x.png": the file Qt prefers on a screen of ratio 2.
QString nv_pic_2x_name(const QString& path);
// Writes the image (a .jpg flattened on black), creating the folder; false on failure.
bool nv_pic_save(const QImage& image, const QString& path);
// Saves the picture drawn at scale 1 into path and at scale 2 into its @2x name.
bool nv_pic_save_both(const QString& path, const std::function<QImage(int scale)>& drawAt);
// Bold sans-serif of the given pixel size for the brand names and digits.
QFont nv_pic_font(double pixelSize);
