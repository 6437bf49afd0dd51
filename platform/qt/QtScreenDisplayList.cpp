#include "platform/qt/QtScreenDisplayList.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>

QtScreenDisplayList::QtScreenDisplayList()
{
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (handler_)
            handler_();
    });
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        watch(s);
        changed();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] { changed(); });
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this] { changed(); });
    for (QScreen* s : QGuiApplication::screens())
        watch(s);
}

void QtScreenDisplayList::watch(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, [this] { changed(); });
}

void QtScreenDisplayList::changed() { settle_.start(); }

bool QtScreenDisplayList::activeDisplays(std::vector<NVDisplayInfo>& out)
{
    out.clear();
    // A Wayland compositor lays its outputs out in logical (scaled) coordinates, and Qt's
    // wayland screens are those rectangles. Elsewhere Qt keeps a screen's native top-left
    // and divides only its size by the ratio.
    const bool logical = QGuiApplication::platformName() == QLatin1String("wayland");
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const double dpr = logical ? 1.0 : s->devicePixelRatio();
        out.push_back({static_cast<uint32_t>(qHash(s->name())),
                       {double(g.x()), double(g.y()), g.width() * dpr, g.height() * dpr}});
    }
    return true;
}

bool QtScreenDisplayList::displayIdentities(std::vector<NVDisplayIdentity>& out)
{
    out.clear();
    for (QScreen* s : QGuiApplication::screens())
        out.push_back({s->name().toStdString(), {}});
    return true;
}

void QtScreenDisplayList::setReconfigurationHandler(std::function<void()> handler)
{
    handler_ = std::move(handler);
}
