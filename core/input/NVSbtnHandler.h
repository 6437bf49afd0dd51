// Soft keys: the strip of keys printed on the tablet outside the drawing area, pressed
// with the pen. A key acts once, on lift, when the pen went down and up on it.
#pragma once

#include "core/model/NVTypes.h"

#include <vector>

class NVDataHandler;

class NVSbtnHandler {
public:
    // Builds the hit rectangles from g_gi.tabletLayout (or the fixed strips of the models
    // that have them) and sets g_gi.sbtnInRect.
    explicit NVSbtnHandler(NVDataHandler& handler);

    void record1stPoint(const NVPoint* p);
    // True while the contact belongs to the soft keys.
    bool onDown(const NVPoint* p);
    // True when a soft key was performed.
    bool onUp(const NVPoint* p);
    // True when p lies in the strip (outside the drawing area).
    bool isInSoftkeyArea(const NVPoint* p) const;

    const std::vector<NVRect>& sbtnRects() const { return sbtnRects_; }

private:
    NVDataHandler& handler_;
    bool bHandle_ = false;
    NVPoint firstPt_{};
    std::vector<NVRect> sbtnRects_;
};
