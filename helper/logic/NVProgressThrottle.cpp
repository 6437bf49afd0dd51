#include "helper/logic/NVProgressThrottle.h"

#include <algorithm>

std::optional<int> NVProgressThrottle::report(int64_t nowMs, int64_t received, int64_t total)
{
    if (lastShownMs_ && nowMs - *lastShownMs_ < kIntervalMs)
        return std::nullopt;
    lastShownMs_ = nowMs;
    if (total <= 0 || received <= 0)
        return 0;
    return static_cast<int>(std::min(100.0, 100.0 * static_cast<double>(received) / static_cast<double>(total)));
}
