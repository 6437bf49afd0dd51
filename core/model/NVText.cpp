#include "core/model/NVText.h"

#include <cstdint>

bool nv_is_utf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<uint8_t>(s[i]);
        size_t len;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size())
            return false;
        for (size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<uint8_t>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past the last code point.
        static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

bool nv_copy_text(char* dst, size_t size, std::string_view s)
{
    if (size == 0)
        return s.empty();
    size_t n = s.size();
    const bool fits = n < size;
    if (!fits) {
        n = size - 1;
        // Back up over continuation bytes so that no character is cut in half.
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
            --n;
    }
    if (n > 0) // an empty view may carry a null pointer, which memcpy must not see
        std::memcpy(dst, s.data(), n);
    dst[n] = '\0';
    return fits;
}

int nv_hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

namespace {

// Decodes escapes into out; false at the first malformed one when strict, else that '%'
// is kept literally.
bool decode_escapes(std::string_view in, std::string& out, bool strict)
{
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        const int hi = in[i] == '%' && in.size() - i >= 3 ? nv_hex_digit(in[i + 1]) : -1;
        const int lo = hi >= 0 ? nv_hex_digit(in[i + 2]) : -1;
        if (lo < 0) {
            if (in[i] == '%' && strict)
                return false;
            out += in[i];
            continue;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

} // namespace

bool nv_percent_decode(std::string_view in, std::string& out)
{
    std::string r;
    if (!decode_escapes(in, r, true) || !nv_is_utf8(r))
        return false;
    out = std::move(r);
    return true;
}

std::string nv_percent_decode_lenient(std::string_view in)
{
    std::string r;
    decode_escapes(in, r, false);
    return r;
}

std::string nv_replace_all(std::string_view s, std::string_view from, std::string_view to)
{
    std::string r;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        r.append(s.substr(pos, hit - pos));
        r.append(to);
    }
    r.append(s.substr(pos));
    return r;
}
