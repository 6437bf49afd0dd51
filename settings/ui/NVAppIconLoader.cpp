#include "settings/ui/NVAppIconLoader.h"

#include "platform/linux/NVDesktopEntry.h"
#include "settings/logic/NVIconPath.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QMetaObject>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

namespace {

constexpr int kThumbHeight = 180;

QThreadPool& pool()
{
    static QThreadPool* p = [] {
        auto* tp = new QThreadPool;
        tp->setMaxThreadCount(2);
        return tp;
    }();
    return *p;
}

QImage load_icon(const std::string& icon)
{
    const std::filesystem::path file = nv_icon_file(icon, nv_xdg_data_dirs());
    if (file.empty())
        return {};
    QImageReader reader(QString::fromStdString(file.string()));
    // Scalable pictures are drawn at the thumbnail's size rather than their nominal one.
    if (reader.supportsOption(QImageIOHandler::ScaledSize)) {
        const QSize s = reader.size();
        if (s.isValid() && s.height() > 0 && s.height() < kThumbHeight)
            reader.setScaledSize(QSize(s.width() * kThumbHeight / s.height(), kThumbHeight));
    }
    const QImage image = reader.read();
    return image.isNull() ? QImage() : NVThumbnailImage(image);
}

} // namespace

QImage NVThumbnailImage(const QImage& image)
{
    if (image.isNull() || image.height() == 0)
        return {};
    const int width = std::max(1, kThumbHeight * image.width() / image.height());
    QImage thumb(width, kThumbHeight, QImage::Format_ARGB32_Premultiplied);
    thumb.fill(Qt::transparent);
    QPainter p(&thumb);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(thumb.rect(), image);
    return thumb;
}

void NVAppIconLoader::load(const std::string& icon, QObject* receiver, std::function<void(const QImage&)> done)
{
    QPointer<QObject> guard(receiver);
    pool().start([icon, guard, done = std::move(done)] {
        const QImage image = load_icon(icon);
        // The receiver is asked for on the main thread only, where it is destroyed.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [guard, done, image] { if (guard) done(image); }, Qt::QueuedConnection);
    });
}

bool NVAppIconLoader::waitForDone(int msecs)
{
    return pool().waitForDone(msecs);
}

int NVAppIconLoader::maxThreadCount()
{
    return pool().maxThreadCount();
}
