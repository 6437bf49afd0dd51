// Application icons loaded off the main thread, at most two at a time, and the thumbnail
// every list picture is scaled to.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

// A new image 180 high and 180 x width / height wide with the image drawn into it whole.
QImage NVThumbnailImage(const QImage& image);

class NVAppIconLoader {
public:
    // Looks up icon (a theme name or an absolute file; see nv_icon_file) and loads its
    // thumbnail on the shared pool; done runs on receiver's thread with a null image when
    // nothing could be loaded, and not at all when receiver is gone by then.
    static void load(const std::string& icon, QObject* receiver, std::function<void(const QImage&)> done);
    // Blocks until every job has finished (the pool's threads stay).
    static bool waitForDone(int msecs);
    static int maxThreadCount();
};
