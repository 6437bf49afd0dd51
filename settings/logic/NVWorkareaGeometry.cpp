#include "settings/logic/NVWorkareaGeometry.h"

#include "core/model/NVGeometry.h"

#include <cmath>
#include <cstdio>

bool nv_view_rect_contains(const NVViewRect& r, NVViewPoint p)
{
    return p.x >= r.x && p.x < r.x + r.width && p.y >= r.y && p.y < r.y + r.height;
}

NVViewRect nv_fit_picture(const NVViewRect& frame, double picW, double picH, NVFitVertical vertical)
{
    if (!(picW > 0) || !(picH > 0) || !(frame.height > 0))
        return {frame.x, frame.y, 0, 0};
    const double v = frame.width / frame.height;
    const double p = picW / picH;
    if (v <= p) {
        const double h = frame.width / p;
        const double lift = frame.height - h;
        return {frame.x, frame.y + (vertical == NVFitVertical::Centre ? lift / 2 : lift), frame.width, h};
    }
    const double w = p * frame.height;
    return {frame.x + (frame.width - w) * 0.5, frame.y, w, frame.height};
}

NVRectRatio nv_rotate_workarea(const NVRectRatio& r, uint32_t angle)
{
    NVRectRatio out = r;
    if (angle == 90)
        rect_ratio_rotate_90(&r, &out);
    else if (angle == 180)
        rect_ratio_rotate_180(&r, &out);
    else if (angle == 270)
        rect_ratio_rotate_270(&r, &out);
    return out;
}

NVRectRatio nv_unrotate_workarea(const NVRectRatio& r, uint32_t angle)
{
    if (angle == 90)
        return nv_rotate_workarea(r, 270);
    if (angle == 270)
        return nv_rotate_workarea(r, 90);
    return nv_rotate_workarea(r, angle);
}

namespace {

// Fractions of the picture (top-left origin) to a view rectangle on the picture D.
NVViewRect on_picture(const NVViewRect& d, float left, float top, float right, float bottom)
{
    return {d.x + left * d.width, d.y + (1 - bottom) * d.height, (right - left) * d.width, (bottom - top) * d.height};
}

bool known_angle(uint32_t a)
{
    return a == 0 || a == 90 || a == 180 || a == 270;
}

} // namespace

NVWorkareaRects nv_workarea_rects(const NVRectRatio& areaRatio, const NVRectRatio& workarea, uint32_t angle,
                                  const NVViewRect& frame, double picW, double picH)
{
    const NVRectRatio a = nv_rotate_workarea(areaRatio, angle);
    const NVRectRatio w = nv_rotate_workarea(workarea, angle);
    if (angle == 90 || angle == 270)
        std::swap(picW, picH);
    const float aw = a.right - a.left;
    const float ah = a.bottom - a.top;
    NVWorkareaRects out;
    out.picture = nv_fit_picture(frame, picW, picH, NVFitVertical::Centre);
    out.workarea = on_picture(out.picture, a.left + w.left * aw, a.top + w.top * ah, a.left + w.right * aw,
                              a.top + w.bottom * ah);
    out.penArea = on_picture(out.picture, a.left, a.top, a.right, a.bottom);
    return out;
}

NVRectRatio nv_workarea_from_rect(const NVViewRect& r, const NVViewRect& p, uint32_t angle)
{
    NVRectRatio shown{};
    if (p.width > 0 && p.height > 0) {
        shown.left = static_cast<float>((r.x - p.x) / p.width);
        shown.top = static_cast<float>((p.height - (r.y + r.height - p.y)) / p.height);
        shown.right = static_cast<float>((r.x + r.width - p.x) / p.width);
        shown.bottom = static_cast<float>((p.height - (r.y - p.y)) / p.height);
    }
    NVRectRatio out = nv_unrotate_workarea(shown, angle);
    out.left = std::fabs(out.left);
    out.top = std::fabs(out.top);
    out.right = std::fabs(out.right);
    out.bottom = std::fabs(out.bottom);
    return out;
}

uint32_t nv_compute_rotate_angle(uint32_t* shownAngle, uint32_t angle)
{
    uint32_t turn = 0;
    if (known_angle(*shownAngle) && known_angle(angle))
        turn = (*shownAngle + 360 - angle) % 360;
    // The picture's turn must stay one of the four, or later differences go wrong.
    *shownAngle = known_angle(angle) ? angle : 0;
    return turn;
}

NVDragBands nv_hit_bands(const NVViewRect& w, NVViewPoint p)
{
    NVDragBands b;
    b.left = nv_view_rect_contains({w.x - 2, w.y, 4, w.height}, p);
    b.right = nv_view_rect_contains({w.x + w.width - 2, w.y, 4, w.height}, p);
    b.bottom = nv_view_rect_contains({w.x, w.y - 2, w.width, 4}, p);
    b.top = nv_view_rect_contains({w.x, w.y + w.height - 2, w.width, 4}, p);
    b.centre = nv_view_rect_contains({w.x + 2, w.y + 2, w.width - 4, w.height - 4}, p);
    return b;
}

NVDragCursor nv_drag_cursor(const NVDragBands& b)
{
    if (b.left || b.right)
        return NVDragCursor::LeftRight;
    if (b.top || b.bottom)
        return NVDragCursor::UpDown;
    return NVDragCursor::Arrow;
}

bool nv_drag_workarea(NVViewRect* w, const NVDragBands& b, NVViewPoint p, const NVViewRect& pa)
{
    const double dx = p.x - w->x;
    const double dy = p.y - w->y;
    if (b.left) {
        if (dx < 0 && p.x < pa.x)
            return false;
        if ((dx > 0 && dx < w->width) || dx < 0) {
            w->width = w->x + w->width - p.x;
            w->x = p.x;
        }
    }
    if (b.bottom) {
        if (dy < 0 && p.y < pa.y)
            return false;
        if ((dy > 0 && dy < w->height) || dy < 0) {
            w->height = w->y + w->height - p.y;
            w->y = p.y;
        }
    }
    if (b.right && dx > 0 && dx < pa.x + pa.width - w->x)
        w->width = p.x - w->x;
    if (b.top && dy > 0 && dy < pa.y + pa.height - w->y)
        w->height = p.y - w->y;
    if (b.centre && p.x > pa.x && p.x + w->width < pa.x + pa.width && p.y > pa.y &&
        p.y + w->height < pa.y + pa.height) {
        w->x = p.x;
        w->y = p.y;
    }
    return true;
}

void nv_type_workarea_edge(NVRectRatio* wa, NVWorkareaEdge edge, double value)
{
    const bool inRange = value >= 0 && value <= 1; // false for NaN too
    const bool leading = edge == NVWorkareaEdge::Left || edge == NVWorkareaEdge::Top;
    const float v = inRange ? static_cast<float>(value) : (leading ? 0.f : 1.f);
    switch (edge) {
    case NVWorkareaEdge::Left: wa->left = v; break;
    case NVWorkareaEdge::Top: wa->top = v; break;
    case NVWorkareaEdge::Right: wa->right = v; break;
    case NVWorkareaEdge::Bottom: wa->bottom = v; break;
    }
}

std::string nv_format_fraction(float value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(value));
    std::string s(buf);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

NVRectRatio nv_screen_ratio_workarea(uint32_t maxX, uint32_t maxY, uint32_t angle, double screenW, double screenH)
{
    if (maxX == 0 || maxY == 0 || !(screenW > 0) || !(screenH > 0) || !std::isfinite(screenW) ||
        !std::isfinite(screenH))
        return kNVFullWorkarea;
    const bool turned = angle == 90 || angle == 270;
    const float t = turned ? static_cast<float>(maxY) / static_cast<float>(maxX)
                           : static_cast<float>(maxX) / static_cast<float>(maxY);
    const float s = static_cast<float>(screenW / screenH);
    NVRectRatio r = kNVFullWorkarea;
    if (s > t) {
        const float k = t / s;
        r.top = (1 - k) * 0.5f;
        r.bottom = (1 + k) * 0.5f;
    } else {
        const float k = s / t;
        r.left = (1 - k) * 0.5f;
        r.right = (1 + k) * 0.5f;
    }
    return nv_unrotate_workarea(r, angle);
}

uint32_t nv_normalize_screen_index(uint32_t index, size_t count)
{
    return count <= 1 || index > count ? 0 : index;
}

size_t nv_screen_menu_count(size_t screens)
{
    return screens > 1 ? screens + 1 : screens;
}

std::string nv_screen_item_title(const std::string& word, int number, double width, double height)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, " %d: %4.0f x %4.0f", number, width, height);
    return word + buf;
}
