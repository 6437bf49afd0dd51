// The pen-display calibration: the nine crosses, the tablet targets they stand for, the
// collection of one contact per cross, and the least-squares affine fit in fixed point.
#pragma once

#include "core/model/NVTypes.h"

#include <array>
#include <cstdint>
#include <optional>

constexpr int kNVCalibrationPoints = 9;
constexpr int32_t kNVCalibrationDivisor = 65536;

// Centre of cross k on a window of w × h (top-left origin): columns and rows at 10 %,
// 50 % and 90 %; k ≥ 9 (or negative) is the centre.
struct NVCrossPoint {
    double x;
    double y;
};
NVCrossPoint nv_cross_center(int k, double w, double h);

// The tablet position that cross k stands for, for a tablet of maxX × maxY turned by angle
// (any angle but 90, 180, 270 counts as 0).
NVPoint nv_calibration_target(int k, uint32_t maxX, uint32_t maxY, uint32_t angle);

// The seven configuration factors: A…F × 65536 and the divisor.
using NVCalibrationFactors = std::array<int32_t, 7>;

// Fits X = A·x + B·y + C and Y = D·x + E·y + F over the nine contacts (tablet units) and
// their targets. Nothing when the fit is degenerate: Σx or Σy of 0, a determinant that is
// zero against the size of its terms, or a factor that is not finite or does not fit in
// 32 bits.
std::optional<NVCalibrationFactors> nv_calibration_fit(const std::array<NVPoint, kNVCalibrationPoints>& contacts,
                                                       uint32_t maxX, uint32_t maxY, uint32_t angle);

// Writes a calibration into the configuration, or with nothing removes it (all seven
// factors 0, not calibrated).
void nv_store_calibration(NVConfig* cfg, const std::optional<NVCalibrationFactors>& factors);

// The last accepted contact of the process, kept across calibrations; (0, 0) at start.
NVPoint& nv_calibration_last_contact();

// Collects one contact per cross from the pen samples.
class NVCalibrationCollector {
public:
    enum class Step {
        Ignored,  // closer than about 316 units to the last accepted contact
        Next,     // accepted; show cross count()
        Complete, // the ninth accepted: fit now
        Close,    // a sample after the ninth
    };

    Step handlePenData(int32_t x, int32_t y);
    int count() const { return count_; }
    const std::array<NVPoint, kNVCalibrationPoints>& contacts() const { return contacts_; }
    void restart() { count_ = 0; }

private:
    std::array<NVPoint, kNVCalibrationPoints> contacts_{};
    int count_ = 0;
};
