// Counts heap allocations made through operator new, for the no-allocation budget of
// the pen path.
#pragma once

#include <cstddef>

namespace nvtest {
size_t allocation_count();
} // namespace nvtest
