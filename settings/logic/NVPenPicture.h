// What the pen page draws: the leader lines from the pen's buttons to the buttons showing
// their functions, the pressure curve of a sensitivity step, and the width of a test stroke.
#pragma once

#include "core/model/NVTypes.h"

#include <vector>

struct NVPenLeader {
    NVPoint from;         // the button's centre on the picture
    NVPoint to;           // beside the function button
    NVPoint buttonOrigin; // top-left of the function button
};

// Layout entry i of the pen (0 tip, 1 lower, 2 upper) of the picture drawn at pictureOrigin
// and scaled by scale; function buttons stand at x = buttonX, centred on the pen button.
NVPenLeader nv_pen_leader(const NVLayoutEkey& button, NVPoint pictureOrigin, double scale, int buttonX,
                          int buttonHeight);

// One point per x in [0, width): y = the curve's value, measured up from the bottom.
std::vector<NVPoint> nv_press_curve_points(int32_t pressFactor, int width);

// Width of a test stroke: 1 below 256 pressure units of the tablet, else maxP x p / 512 + 1.
double nv_press_stroke_width(uint16_t maxP, double pressure);
