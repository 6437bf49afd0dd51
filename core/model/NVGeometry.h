// Stateless geometry over the model's records: rotations, ratios, projections, hit tests,
// pressure curves and the display calibration. Single precision unless stated;
// conversions back to integers truncate toward zero and never see NaN or infinity.
#pragma once

#include "core/model/NVTypes.h"

// Float to int32 by truncation: NaN becomes 0, out-of-range values saturate.
int32_t nv_trunc_i32(double v);
// Float to int64 by truncation with the same rules.
int64_t nv_trunc_i64(double v);

void rotate_point_90(const NVSize* wh, NVPoint* p);
void rotate_point_180(const NVSize* wh, NVPoint* p);
void rotate_point_270(const NVSize* wh, NVPoint* p);
void pt_ratio_rotate_90(const NVPointRatio* in, NVPointRatio* out);
void pt_ratio_rotate_180(const NVPointRatio* in, NVPointRatio* out);
void pt_ratio_rotate_270(const NVPointRatio* in, NVPointRatio* out);
void rect_rotate_90(const NVRect* in, NVRect* out, uint32_t w, uint32_t h);
void rect_rotate_180(const NVRect* in, NVRect* out, uint32_t w, uint32_t h);
void rect_rotate_270(const NVRect* in, NVRect* out, uint32_t w);
void rect_ratio_rotate_90(const NVRectRatio* in, NVRectRatio* out);
void rect_ratio_rotate_180(const NVRectRatio* in, NVRectRatio* out);
void rect_ratio_rotate_270(const NVRectRatio* in, NVRectRatio* out);

void ratio_pt_in_rect(const NVPoint* p, const NVRect* r, NVPointRatio* out);
void compute_ratio_of_rect(const NVRect* r, const NVRectRatio* q, NVRect* out);
void compute_rect_of_ratio(const NVRect* r, const NVRect* in, NVRectRatio* out);
void project_pt_to_rect(int32_t* x, int32_t* y, uint32_t fromW, uint32_t fromH, uint32_t toW, uint32_t toH);
void project_pt_to_rect1(NVPoint* p, const NVSize* from, const NVSize* to);
void project_pt_to_rect2(int32_t* x, int32_t* y, uint32_t fromW, uint32_t fromH, const NVRect* to);
void project_pt_to_rect3(NVPoint* p, uint32_t fromW, uint32_t fromH, const NVRect* to);
void project_rect_to_rect(const NVRect* from, const NVRect* in, const NVRect* to, NVRect* out);
void project_rect_to_rect1(uint32_t w, uint32_t h, const NVRect* in, const NVRect* to, NVRect* out);

bool is_pt_in_rect(const NVPoint* p, const NVRect* r);
bool is_pt_in_NVLayoutEkey(const NVPoint* p, const NVLayoutEkey* k);
void bound_to_rect(const NVRect* r, NVPoint* p);
void bound_to_rect_ratio(const NVRectRatio* r, NVPointRatio* p);

int64_t equation_power(double x, double e, double m);
uint32_t equation_circle(int64_t x, int32_t bUp, double r, double m);
uint32_t calibrate_press(const NVConfig* cfg, uint32_t p, uint32_t maxP);
// The curve of a pressure step (-4 ... 4, any other linear) at x within [0, maxP].
uint32_t nv_press_curve(int32_t factor, uint32_t x, uint32_t maxP);
void calibrate_point(const NVTabletInfo* ti, const NVConfig* cfg, NVPoint* p);

// Debug switch for the raw-pressure trace on standard output; off in normal runs.
extern bool g_bTracePressure;
