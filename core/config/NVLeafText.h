// The text forms of leaf values: the number formats of the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal integer of s: leading white space, optional sign, digits up to the first
// non-digit; no digits give 0, values beyond 32 bits give the nearest limit.
int32_t nv_parse_int(std::string_view s);
// Floating-point value of s after leading white space; no finite number gives 0.
float nv_parse_float(std::string_view s);
// "%d" and "%f" (six fraction digits, no exponent), independent of the C locale.
std::string nv_format_int(int32_t v);
std::string nv_format_float(float v);
