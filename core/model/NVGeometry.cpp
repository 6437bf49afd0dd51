#include "core/model/NVGeometry.h"

#include <cmath>
#include <cstdio>
#include <limits>

bool g_bTracePressure = false;

int64_t nv_trunc_i64(double v)
{
    if (std::isnan(v))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    if (v >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (v < -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

int32_t nv_trunc_i32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483648.0)
        return std::numeric_limits<int32_t>::max();
    if (v <= -2147483649.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

namespace {

int32_t clamp_i32(__int128 v)
{
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

float width_of(const NVRect* r) { return static_cast<float>(r->right - r->left); }
float height_of(const NVRect* r) { return static_cast<float>(r->bottom - r->top); }

} // namespace

void rotate_point_90(const NVSize* wh, NVPoint* p)
{
    const NVPoint in = *p;
    p->x = wh->cy - in.y;
    p->y = in.x;
}

void rotate_point_180(const NVSize* wh, NVPoint* p)
{
    p->x = wh->cx - p->x;
    p->y = wh->cy - p->y;
}

void rotate_point_270(const NVSize* wh, NVPoint* p)
{
    const NVPoint in = *p;
    p->x = in.y;
    p->y = wh->cx - in.x;
}

void pt_ratio_rotate_90(const NVPointRatio* in, NVPointRatio* out)
{
    const NVPointRatio v = *in;
    out->x = 1.0f - v.y;
    out->y = v.x;
}

void pt_ratio_rotate_180(const NVPointRatio* in, NVPointRatio* out)
{
    const NVPointRatio v = *in;
    out->x = 1.0f - v.x;
    out->y = 1.0f - v.y;
}

void pt_ratio_rotate_270(const NVPointRatio* in, NVPointRatio* out)
{
    const NVPointRatio v = *in;
    out->x = v.y;
    out->y = 1.0f - v.x;
}

void rect_rotate_90(const NVRect* in, NVRect* out, uint32_t, uint32_t h)
{
    const NVRect v = *in;
    const int32_t hh = static_cast<int32_t>(h);
    *out = NVRect{hh - v.bottom, v.left, hh - v.top, v.right};
}

void rect_rotate_180(const NVRect* in, NVRect* out, uint32_t w, uint32_t h)
{
    const NVRect v = *in;
    const int32_t ww = static_cast<int32_t>(w);
    const int32_t hh = static_cast<int32_t>(h);
    *out = NVRect{ww - v.right, hh - v.bottom, ww - v.left, hh - v.top};
}

void rect_rotate_270(const NVRect* in, NVRect* out, uint32_t w)
{
    const NVRect v = *in;
    const int32_t ww = static_cast<int32_t>(w);
    *out = NVRect{v.top, ww - v.right, v.bottom, ww - v.left};
}

void rect_ratio_rotate_90(const NVRectRatio* in, NVRectRatio* out)
{
    const NVRectRatio v = *in;
    *out = NVRectRatio{1.0f - v.bottom, v.left, 1.0f - v.top, v.right};
}

void rect_ratio_rotate_180(const NVRectRatio* in, NVRectRatio* out)
{
    const NVRectRatio v = *in;
    *out = NVRectRatio{1.0f - v.right, 1.0f - v.bottom, 1.0f - v.left, 1.0f - v.top};
}

void rect_ratio_rotate_270(const NVRectRatio* in, NVRectRatio* out)
{
    const NVRectRatio v = *in;
    *out = NVRectRatio{v.top, 1.0f - v.right, v.bottom, 1.0f - v.left};
}

void ratio_pt_in_rect(const NVPoint* p, const NVRect* r, NVPointRatio* out)
{
    out->x = static_cast<float>(p->x - r->left) / width_of(r);
    out->y = static_cast<float>(p->y - r->top) / height_of(r);
}

void compute_ratio_of_rect(const NVRect* r, const NVRectRatio* q, NVRect* out)
{
    const float w = width_of(r);
    const float h = height_of(r);
    const NVRect base = *r;
    out->left = nv_trunc_i32(base.left + q->left * w);
    out->right = nv_trunc_i32(base.left + q->right * w);
    out->top = nv_trunc_i32(base.top + q->top * h);
    out->bottom = nv_trunc_i32(base.top + q->bottom * h);
}

void compute_rect_of_ratio(const NVRect* r, const NVRect* in, NVRectRatio* out)
{
    const float w = width_of(r);
    const float h = height_of(r);
    out->left = static_cast<float>(in->left - r->left) / w;
    out->top = static_cast<float>(in->top - r->top) / h;
    out->right = static_cast<float>(in->right - r->left) / w;
    out->bottom = static_cast<float>(in->bottom - r->top) / h;
}

void project_pt_to_rect(int32_t* x, int32_t* y, uint32_t fromW, uint32_t fromH, uint32_t toW, uint32_t toH)
{
    *x = nv_trunc_i32(static_cast<float>(toW) * (static_cast<float>(*x) / static_cast<float>(fromW)));
    *y = nv_trunc_i32(static_cast<float>(toH) * (static_cast<float>(*y) / static_cast<float>(fromH)));
}

void project_pt_to_rect1(NVPoint* p, const NVSize* from, const NVSize* to)
{
    project_pt_to_rect(&p->x, &p->y, static_cast<uint32_t>(from->cx), static_cast<uint32_t>(from->cy),
                       static_cast<uint32_t>(to->cx), static_cast<uint32_t>(to->cy));
}

void project_pt_to_rect2(int32_t* x, int32_t* y, uint32_t fromW, uint32_t fromH, const NVRect* to)
{
    *x = nv_trunc_i32(to->left + width_of(to) * (static_cast<float>(*x) / static_cast<float>(fromW)));
    *y = nv_trunc_i32(to->top + height_of(to) * (static_cast<float>(*y) / static_cast<float>(fromH)));
}

void project_pt_to_rect3(NVPoint* p, uint32_t fromW, uint32_t fromH, const NVRect* to)
{
    project_pt_to_rect2(&p->x, &p->y, fromW, fromH, to);
}

void project_rect_to_rect(const NVRect* from, const NVRect* in, const NVRect* to, NVRect* out)
{
    const float wf = width_of(from);
    const float hf = height_of(from);
    const float wt = width_of(to);
    const float ht = height_of(to);
    const NVRect f = *from;
    const NVRect v = *in;
    const NVRect t = *to;
    out->left = nv_trunc_i32(t.left + static_cast<float>(v.left - f.left) / wf * wt);
    out->right = nv_trunc_i32(t.left + static_cast<float>(v.right - f.left) / wf * wt);
    out->top = nv_trunc_i32(t.top + static_cast<float>(v.top - f.top) / hf * ht);
    out->bottom = nv_trunc_i32(t.top + static_cast<float>(v.bottom - f.top) / hf * ht);
}

void project_rect_to_rect1(uint32_t w, uint32_t h, const NVRect* in, const NVRect* to, NVRect* out)
{
    const NVRect from{0, 0, static_cast<int32_t>(w), static_cast<int32_t>(h)};
    project_rect_to_rect(&from, in, to, out);
}

bool is_pt_in_rect(const NVPoint* p, const NVRect* r)
{
    return r->left < p->x && p->x < r->right && r->top < p->y && p->y < r->bottom;
}

bool is_pt_in_NVLayoutEkey(const NVPoint* p, const NVLayoutEkey* k)
{
    return is_pt_in_rect(p, &k->rect) && !is_pt_in_rect(p, &k->inRect);
}

void bound_to_rect(const NVRect* r, NVPoint* p)
{
    if (p->x < r->left) p->x = r->left;
    if (p->x > r->right) p->x = r->right;
    if (p->y < r->top) p->y = r->top;
    if (p->y > r->bottom) p->y = r->bottom;
}

void bound_to_rect_ratio(const NVRectRatio* r, NVPointRatio* p)
{
    if (p->x < r->left) p->x = r->left;
    if (p->x > r->right) p->x = r->right;
    if (p->y < r->top) p->y = r->top;
    if (p->y > r->bottom) p->y = r->bottom;
}

int64_t equation_power(double x, double e, double m)
{
    return nv_trunc_i64(m * std::pow(x / m, e));
}

uint32_t equation_circle(int64_t x, int32_t bUp, double r, double m)
{
    const double d = std::sqrt(2.0 * r * r - m * m);
    const double k = bUp ? (d + m) / 2.0 : (m - d) / 2.0;
    const double dx = static_cast<double>(x) - k;
    // Rounding can take the radicand a hair below zero at the ends of the arc.
    const double root = std::sqrt(std::fmax(0.0, (m - k) * (m - k) + k * k - dx * dx));
    const double y = bUp ? (m - k) + root : m - k - root;
    return static_cast<uint32_t>(nv_trunc_i32(y));
}

uint32_t calibrate_press(const NVConfig* cfg, uint32_t p, uint32_t maxP)
{
    // The tablet never reports above maxP; a value that does is taken as maxP so no
    // curve leaves its [0, maxP] domain.
    const uint32_t x = p > maxP ? maxP : p;
    if (x == 0)
        return 0;
    if (g_bTracePressure && p != 8191)
        std::printf("%u\n", p);
    return nv_press_curve(cfg->pressFactor, x, maxP);
}

uint32_t nv_press_curve(int32_t factor, uint32_t x, uint32_t maxP)
{
    const double m = maxP;
    const double xd = x;
    switch (factor) {
    case -4: return static_cast<uint32_t>(equation_power(xd, 0.125, m));
    case -3: return static_cast<uint32_t>(equation_power(xd, 0.25, m));
    case -2: return equation_circle(x, 1, m, m);
    case -1: return equation_circle(x, 1, 2.0 * m, m);
    case 1: return equation_circle(x, 0, 2.0 * m, m);
    case 2: return equation_circle(x, 0, m, m);
    case 3: return static_cast<uint32_t>(equation_power(xd, 4.0, m));
    case 4: return static_cast<uint32_t>(equation_power(xd, 8.0, m));
    default: return x;
    }
}

void calibrate_point(const NVTabletInfo* ti, const NVConfig* cfg, NVPoint* p)
{
    if (ti->bMonitor == 0 || cfg->bCalibrated == 0)
        return;
    const int64_t d6 = cfg->calibrateFactor[6];
    if (d6 == 0)
        return; // never written by calibration; keep the point rather than divide by zero
    // 128-bit sums: two 32x32-bit products plus a constant can exceed 64 bits when
    // the coefficients come from a damaged file.
    using i128 = __int128;
    const int32_t* k = cfg->calibrateFactor;
    const i128 x = p->x, y = p->y;
    p->x = clamp_i32((k[0] * x + k[1] * y + k[2] + d6 / 2) / d6);
    p->y = clamp_i32((k[3] * x + k[4] * y + k[5] + d6 / 2) / d6);
}
