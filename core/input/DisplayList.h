// The window system's active displays, in global desktop coordinates (native pixels,
// origin at the top left of the main display, Y downwards).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct NVScreenRect {
    double x;
    double y;
    double width;
    double height;
};

struct NVDisplayInfo {
    uint32_t id;
    NVScreenRect bounds;
};

// Which monitor a display is: the window system's name of its output ("HDMI-1") and the
// EDID the monitor sent; either is empty when unknown.
struct NVDisplayIdentity {
    std::string name;
    std::vector<uint8_t> edid;
};

class DisplayList {
public:
    virtual ~DisplayList() = default;
    // The active displays in the window system's order; false when it refuses the list.
    virtual bool activeDisplays(std::vector<NVDisplayInfo>& out) = 0;
    // Called once for each completed reconfiguration of the displays.
    virtual void setReconfigurationHandler(std::function<void()> handler) = 0;
    // The identity of each active display, in the same order; false when the window system
    // tells none.
    virtual bool displayIdentities(std::vector<NVDisplayIdentity>& out)
    {
        out.clear();
        return false;
    }
};

// Bounding box of all displays; the zero rectangle when there are none.
NVScreenRect nv_displays_bounding_box(const std::vector<NVDisplayInfo>& displays);
