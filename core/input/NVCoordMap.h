// Tablet-to-screen mapping: the active displays, the display (or all of them) the pen is
// mapped to, and the part of the tablet that is mapped (the work rectangle).
#pragma once

#include "core/input/DisplayList.h"
#include "core/model/NVTypes.h"

#include <cstdint>
#include <vector>

constexpr uint32_t NV_MONITOR_MAX = 8;

class NVCoordMap {
public:
    // Reads the displays, then the work rectangle.
    explicit NVCoordMap(DisplayList& displays);

    // Rereads the display list; false (and nothing changed) when the window system refuses it.
    bool refreshScreens();
    // Recomputes the work rectangle from g_gi.cfg.workarea.
    void refreshWorkarea();
    // Chooses the mapped rectangle from g_gi.cfg.curScreenIndex.
    void refreshCurScreen();

    NVPoint computePositionByRotate(NVPoint p) const;
    void project(const NVPointRatio* ratio, NVScreenPoint* out) const;
    NVScreenPoint mapToScreen(NVPoint p) const;
    // A point of the whole tablet onto the bounding box of all displays.
    void TouchCoordProjectToAllDisplay(double x, double y, NVScreenPoint* out) const;
    // Selects display n (past the end: the first); the all-displays setting is kept.
    void switchScreen(uint32_t n);

    const NVRect& workRect() const { return workRect_; }
    uint32_t workW() const { return workW_; }
    uint32_t workH() const { return workH_; }
    const NVScreenRect& csRect() const { return csRect_; }
    uint32_t monitorNum() const { return monitorNum_; }
    const NVScreenRect& monitorRect(uint32_t i) const { return monitorRects_[i]; }
    uint32_t monitorID(uint32_t i) const { return monitorIDs_[i]; }
    const NVScreenRect& displayRect() const { return displayRect_; }

private:
    DisplayList& displays_;
    NVRect workRect_{};
    uint32_t workW_ = 0;
    uint32_t workH_ = 0;
    NVScreenRect csRect_{};
    uint32_t monitorNum_ = 0;
    NVScreenRect monitorRects_[NV_MONITOR_MAX]{};
    uint32_t monitorIDs_[NV_MONITOR_MAX]{};
    NVScreenRect displayRect_{};
    std::vector<NVDisplayInfo> scratch_;
};
