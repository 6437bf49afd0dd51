// Text held in the fixed character buffers of the records.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

// The text of a buffer up to its first NUL, never past its end.
template <size_t N>
std::string_view nv_buffer_text(const char (&buf)[N])
{
    return std::string_view(buf, strnlen(buf, N));
}

// Copies text into a buffer, cut to N-1 bytes, NUL-terminated and zero-filled.
template <size_t N>
void nv_copy_to_buffer(char (&buf)[N], std::string_view text)
{
    const size_t n = text.size() < N ? text.size() : N - 1;
    std::memset(buf, 0, N);
    std::memcpy(buf, text.data(), n);
}

bool nv_is_utf8(std::string_view s);
// Resolves %XX escapes. False, with out untouched, on a malformed escape or when the
// result is not UTF-8.
bool nv_percent_decode(std::string_view in, std::string& out);
// Replaces every occurrence of from (non-empty) by to.
std::string nv_replace_all(std::string_view s, std::string_view from, std::string_view to);
