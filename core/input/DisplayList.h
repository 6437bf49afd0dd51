// The window system's active displays, in global desktop coordinates (native pixels,
// origin at the top left of the main display, Y downwards).
#pragma once

#include <cstdint>
#include <functional>
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

class DisplayList {
public:
    virtual ~DisplayList() = default;
    // The active displays in the window system's order; false when it refuses the list.
    virtual bool activeDisplays(std::vector<NVDisplayInfo>& out) = 0;
    // Called once for each completed reconfiguration of the displays.
    virtual void setReconfigurationHandler(std::function<void()> handler) = 0;
};

// Bounding box of all displays; the zero rectangle when there are none.
NVScreenRect nv_displays_bounding_box(const std::vector<NVDisplayInfo>& displays);
