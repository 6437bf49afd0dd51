#include "core/input/NVCoordMap.h"

#include "core/log/NVLog.h"
#include "core/model/NVGeometry.h"
#include "core/model/NVGlobalInfo.h"

namespace {

// A point on the line of a zero-width (or zero-height) work rectangle would divide by
// zero; it is read as an infinite ratio of its sign, which the clamp below then bounds,
// so no NaN reaches a position.
float ratio_of(int32_t v, int32_t from, int32_t to)
{
    const int64_t num = static_cast<int64_t>(v) - from;
    const int64_t den = static_cast<int64_t>(to) - from;
    if (den == 0)
        return num > 0 ? 1.0f : 0.0f;
    return static_cast<float>(num) / static_cast<float>(den);
}

// The pointer stays just inside the far edge of the mapped rectangle.
float clamp_ratio(float r)
{
    if (r < 0.0f)
        return 0.0f;
    if (r >= 0.999f)
        return 0.999f;
    return r;
}

} // namespace

NVCoordMap::NVCoordMap(DisplayList& displays) : displays_(displays)
{
    scratch_.reserve(NV_MONITOR_MAX);
    refreshScreens();
    refreshWorkarea();
}

bool NVCoordMap::refreshScreens()
{
    if (!displays_.activeDisplays(scratch_))
        return false;
    if (scratch_.size() > NV_MONITOR_MAX)
        scratch_.resize(NV_MONITOR_MAX);
    monitorNum_ = static_cast<uint32_t>(scratch_.size());
    for (uint32_t i = 0; i < monitorNum_; ++i) {
        monitorIDs_[i] = scratch_[i].id;
        monitorRects_[i] = scratch_[i].bounds;
    }
    displayRect_ = nv_displays_bounding_box(scratch_);
    refreshCurScreen();
    return true;
}

void NVCoordMap::refreshWorkarea()
{
    const NVTabletInfo& ti = g_gi.ti;
    const NVConfig& cfg = g_gi.cfg;
    float x0 = 0, y0 = 0;
    float w = static_cast<float>(ti.maxX), h = static_cast<float>(ti.maxY);
    if (cfg.bEnableSBtn != 0 && ti.sbtnNum != 0) {
        const NVRect& in = g_gi.sbtnInRect;
        x0 = static_cast<float>(in.left);
        y0 = static_cast<float>(in.top);
        w = static_cast<float>(in.right - in.left);
        h = static_cast<float>(in.bottom - in.top);
    }
    const NVRectRatio& q = cfg.workarea;
    workRect_.left = nv_trunc_i32(x0 + q.left * w);
    workRect_.top = nv_trunc_i32(y0 + q.top * h);
    workRect_.right = nv_trunc_i32(x0 + q.right * w);
    workRect_.bottom = nv_trunc_i32(y0 + q.bottom * h);
    workW_ = static_cast<uint32_t>(workRect_.right - workRect_.left);
    workH_ = static_cast<uint32_t>(workRect_.bottom - workRect_.top);
}

void NVCoordMap::refreshCurScreen()
{
    const uint32_t cur = g_gi.cfg.curScreenIndex;
    csRect_ = (cur < monitorNum_ && monitorNum_ != 1) ? monitorRects_[cur] : displayRect_;
}

NVPoint NVCoordMap::computePositionByRotate(NVPoint p) const
{
    const NVSize wh{static_cast<int32_t>(g_gi.ti.maxX), static_cast<int32_t>(g_gi.ti.maxY)};
    switch (g_gi.cfg.rotateAngle) {
    case 90: rotate_point_90(&wh, &p); break;
    case 180: rotate_point_180(&wh, &p); break;
    case 270: rotate_point_270(&wh, &p); break;
    default: break;
    }
    return p;
}

void NVCoordMap::project(const NVPointRatio* ratio, NVScreenPoint* out) const
{
    out->x = csRect_.x + ratio->x * csRect_.width;
    out->y = csRect_.y + ratio->y * csRect_.height;
}

NVScreenPoint NVCoordMap::mapToScreen(NVPoint p) const
{
    const NVRect& w = workRect_;
    const float rx = ratio_of(p.x, w.left, w.right);
    const float ry = ratio_of(p.y, w.top, w.bottom);
    NVPointRatio r;
    switch (g_gi.cfg.rotateAngle) {
    case 90: r = {1.0f - ry, rx}; break;
    case 180: r = {1.0f - rx, 1.0f - ry}; break;
    case 270: r = {ry, 1.0f - rx}; break;
    default: r = {rx, ry}; break;
    }
    r = {clamp_ratio(r.x), clamp_ratio(r.y)};
    NVScreenPoint out;
    project(&r, &out);
    return out;
}

void NVCoordMap::TouchCoordProjectToAllDisplay(double x, double y, NVScreenPoint* out) const
{
    const double maxX = g_gi.ti.maxX, maxY = g_gi.ti.maxY;
    out->x = displayRect_.x + (maxX != 0 ? x * displayRect_.width / maxX : 0.0);
    out->y = displayRect_.y + (maxY != 0 ? y * displayRect_.height / maxY : 0.0);
}

void NVCoordMap::switchScreen(uint32_t n)
{
    nv_log("switchScreen");
    uint32_t& cur = g_gi.cfg.curScreenIndex;
    if (monitorNum_ == 1 || cur >= monitorNum_ || cur == n)
        return;
    cur = n < monitorNum_ ? n : 0;
    refreshCurScreen();
}
