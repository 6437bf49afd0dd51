#include "settings/ui/NVScreens.h"

#include "platform/linux/RandrDisplayList.h"
#include "platform/qt/QtScreenDisplayList.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cmath>

namespace {

NVDisplaySourceFactory& factory_slot()
{
    static NVDisplaySourceFactory factory;
    return factory;
}

// A quiet desktop in the display's proportions, for window systems that refuse pictures.
QImage plain_desktop(const NVScreenRect& r)
{
    const double w = r.width > 0 ? r.width : 16;
    const double h = r.height > 0 ? r.height : 9;
    const QSize size(320, std::max(1, static_cast<int>(std::lround(320 * h / w))));
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0x3a, 0x5f, 0x8f));
    g.setColorAt(1, QColor(0x1d, 0x2f, 0x4a));
    p.fillRect(img.rect(), g);
    p.fillRect(QRect(0, 0, size.width(), 10), QColor(0x20, 0x20, 0x24));
    return img;
}

} // namespace

std::unique_ptr<DisplayList> nv_open_display_source()
{
    if (factory_slot())
        return factory_slot()();
    if (QGuiApplication::platformName() == "xcb")
        if (auto randr = RandrDisplayList::open())
            return randr;
    return std::make_unique<QtScreenDisplayList>();
}

void nv_set_display_source_factory(NVDisplaySourceFactory factory)
{
    factory_slot() = std::move(factory);
}

QScreen* nv_qscreen_for(const std::vector<NVDisplayInfo>& displays, size_t index)
{
    if (index >= displays.size())
        return nullptr;
    const NVScreenRect& b = displays[index].bounds;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* s : screens)
        if (s->geometry().topLeft() == QPoint(static_cast<int>(b.x), static_cast<int>(b.y)))
            return s;
    return index < static_cast<size_t>(screens.size()) ? screens[static_cast<qsizetype>(index)] : nullptr;
}

QImage nv_snapshot(const std::vector<NVDisplayInfo>& displays, size_t index)
{
    if (displays.empty())
        return {};
    if (index < displays.size()) {
        if (QScreen* s = nv_qscreen_for(displays, index)) {
            const QPixmap shot = s->grabWindow(0);
            if (!shot.isNull())
                return shot.toImage();
        }
        return plain_desktop(displays[index].bounds);
    }
    // The whole desktop: every display's picture at its place in the bounding box.
    const NVScreenRect box = nv_displays_bounding_box(displays);
    const double scale = box.width > 0 ? std::min(1.0, 2400 / box.width) : 1;
    QImage all(std::max(1, static_cast<int>(box.width * scale)), std::max(1, static_cast<int>(box.height * scale)),
               QImage::Format_RGB32);
    all.fill(Qt::black);
    QPainter p(&all);
    for (size_t i = 0; i < displays.size(); ++i) {
        const NVScreenRect& r = displays[i].bounds;
        const QRectF target((r.x - box.x) * scale, (r.y - box.y) * scale, r.width * scale, r.height * scale);
        p.drawImage(target, nv_snapshot(displays, i));
    }
    return all;
}
