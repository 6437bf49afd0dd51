// The displays as Qt's screens, in the order Qt lists them: on a Wayland compositor its
// logical layout, elsewhere (desktops without RandR) native pixels, the size times the
// screen's device-pixel ratio.
#pragma once

#include "core/input/DisplayList.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

class QScreen;

class QtScreenDisplayList : public QObject, public DisplayList {
    Q_OBJECT
public:
    // Needs a QGuiApplication.
    QtScreenDisplayList();

    bool activeDisplays(std::vector<NVDisplayInfo>& out) override;
    void setReconfigurationHandler(std::function<void()> handler) override;
    // Qt gives a screen's output name but not its EDID.
    bool displayIdentities(std::vector<NVDisplayIdentity>& out) override;

private:
    void watch(QScreen* screen);
    void changed();

    std::function<void()> handler_;
    // Screens come and go and move in bursts; one handler call per burst.
    QTimer settle_;
};
