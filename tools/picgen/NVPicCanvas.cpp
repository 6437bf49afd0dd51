#include "tools/picgen/NVPicCanvas.h"

#include <QDir>
#include <QFileInfo>

QImage nv_pic_render(QSize size, int scale, const std::function<void(QPainter&)>& draw)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter g(&image);
    g.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    g.scale(scale, scale);
    draw(g);
    return image;
}

QString nv_pic_2x_name(const QString& path)
{
    const qsizetype dot = path.lastIndexOf('.');
    const qsizetype slash = path.lastIndexOf('/');
    if (dot <= slash + 1)
        return path + "@2x";
    return path.left(dot) + "@2x" + path.mid(dot);
}

bool nv_pic_save(const QImage& image, const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (path.endsWith(".jpg")) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::black);
        QPainter(&flat).drawImage(0, 0, image);
        return flat.save(path, "JPG", 92);
    }
    return image.save(path, "PNG");
}

bool nv_pic_save_both(const QString& path, const std::function<QImage(int scale)>& drawAt)
{
    return nv_pic_save(drawAt(1), path) && nv_pic_save(drawAt(2), nv_pic_2x_name(path));
}

QFont nv_pic_font(double pixelSize)
{
    QFont f("DejaVu Sans");
    f.setStyleHint(QFont::SansSerif);
    f.setWeight(QFont::Bold);
    f.setPixelSize(static_cast<int>(pixelSize + 0.5));
    return f;
}
