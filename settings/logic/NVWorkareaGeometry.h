// The work-area page's arithmetic: the pictures fitted into their frames, the work area as
// a rectangle on the tablet picture and back, the five drag bands and their clamps, the
// rotation of the picture, the typed fractions, the full-area and screen-ratio rules and
// the screen menu. View coordinates have their origin at the bottom left, Y upwards.
#pragma once

#include "core/model/NVTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct NVViewPoint {
    double x;
    double y;
};

struct NVViewRect {
    double x;
    double y;
    double width;
    double height;
};

// x ≤ p.x < x + width and y ≤ p.y < y + height.
bool nv_view_rect_contains(const NVViewRect& r, NVViewPoint p);

// A picture of picW × picH fitted into frame, keeping its proportions. When the frame is
// relatively wider, full height centred horizontally; otherwise full width, and vertically
// centred or raised to the frame's top. A picture without area fills nothing (zero size at
// the frame's origin).
enum class NVFitVertical { Centre, Top };
NVViewRect nv_fit_picture(const NVViewRect& frame, double picW, double picH, NVFitVertical vertical);

// Turns a work-area fraction rectangle as the tablet is turned (90, 180, 270; any other
// angle leaves it), and back again.
NVRectRatio nv_rotate_workarea(const NVRectRatio& r, uint32_t angle);
NVRectRatio nv_unrotate_workarea(const NVRectRatio& r, uint32_t angle);

struct NVWorkareaRects {
    NVViewRect picture;  // the tablet picture, turned, in its frame
    NVViewRect penArea;  // the active area on it
    NVViewRect workarea; // the work area on it
};

// areaRatio: the active area within the unturned picture; workarea: the configuration's
// fractions of the active area; picW × picH: the unturned picture.
NVWorkareaRects nv_workarea_rects(const NVRectRatio& areaRatio, const NVRectRatio& workarea, uint32_t angle,
                                  const NVViewRect& frame, double picW, double picH);

// A rectangle drawn on the picture back to the configuration's fractions (unturned,
// without sign) for the active area penArea.
NVRectRatio nv_workarea_from_rect(const NVViewRect& r, const NVViewRect& penArea, uint32_t angle);

// The turn to give the picture when the rotation goes from *shownAngle to angle, in
// degrees counter-clockwise (0 unless both are 0, 90, 180 or 270); *shownAngle becomes
// angle, or 0 for an angle that is none of those.
uint32_t nv_compute_rotate_angle(uint32_t* shownAngle, uint32_t angle);

// --- dragging -------------------------------------------------------------------------
struct NVDragBands {
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool centre = false;
    bool any() const { return left || right || top || bottom || centre; }
};

enum class NVDragCursor { Arrow, LeftRight, UpDown };

// Which bands of the work area w (4 units wide around each edge, and the inside less
// 2 units) hold p.
NVDragBands nv_hit_bands(const NVViewRect& w, NVViewPoint p);
NVDragCursor nv_drag_cursor(const NVDragBands& bands);

// One drag step of the bands to p, within the active area penArea. False when the step
// is refused as a whole (the left or bottom edge would leave the active area).
bool nv_drag_workarea(NVViewRect* w, const NVDragBands& bands, NVViewPoint p, const NVViewRect& penArea);

// --- fields and buttons ---------------------------------------------------------------
enum class NVWorkareaEdge { Left, Top, Right, Bottom };

// A typed fraction stored into that edge: outside 0…1 (or not a number) a left or top
// becomes 0, a right or bottom 1. left < right is not enforced.
void nv_type_workarea_edge(NVRectRatio* workarea, NVWorkareaEdge edge, double value);
// The fraction as the field shows it: at most four decimals, no trailing zeros.
std::string nv_format_fraction(float value);

constexpr NVRectRatio kNVFullWorkarea{0.f, 0.f, 1.f, 1.f};

// The centred work area with the proportions of a screen of screenW × screenH, in the
// tablet's unturned fractions. The full area when a size is zero or not finite.
NVRectRatio nv_screen_ratio_workarea(uint32_t maxX, uint32_t maxY, uint32_t angle, double screenW, double screenH);

// --- screens ----------------------------------------------------------------------------
// The index kept after the screen list was rebuilt with count screens: 0 with one screen
// (or none), or when beyond "all screens" (the value count).
uint32_t nv_normalize_screen_index(uint32_t index, size_t count);
// Menu items: one per screen and "all" after them when there are several.
size_t nv_screen_menu_count(size_t screens);
// "<word> <number>: <w> x <h>", sizes rounded and right-aligned in four places.
std::string nv_screen_item_title(const std::string& word, int number, double width, double height);
