#include "core/config/NVLeafText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

int32_t nv_parse_int(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && is_space(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int64_t v = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        v = std::min(v * 10 + (s[i] - '0'), limit);
    if (negative)
        return static_cast<int32_t>(-v);
    return static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
}

float nv_parse_float(std::string_view s)
{
    const char* p = s.data();
    const char* end = p + s.size();
    while (p < end && is_space(*p))
        ++p;
    if (p < end && *p == '+')
        ++p;
    double v = 0;
    const auto r = std::from_chars(p, end, v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v))
        return 0.0f;
    return static_cast<float>(v);
}

std::string nv_format_int(int32_t v)
{
    return std::to_string(v);
}

std::string nv_format_float(float v)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v), std::chars_format::fixed, 6);
    return std::string(buf, r.ec == std::errc() ? r.ptr : buf);
}
