// A download's progress shown to the user at most once a second: the first report at
// once, later ones only when a second has passed since the last one shown.
#pragma once

#include <cstdint>
#include <optional>

class NVProgressThrottle {
public:
    static constexpr int64_t kIntervalMs = 1000;

    // nowMs: a monotonic clock. The percentage to show (0-100; nothing known about the
    // total reads 0), or nothing when the last one shown is too recent.
    std::optional<int> report(int64_t nowMs, int64_t received, int64_t total);

private:
    std::optional<int64_t> lastShownMs_;
};
