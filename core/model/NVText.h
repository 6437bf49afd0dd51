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

// Copies s into dst (size bytes) with a terminating NUL, cut on a UTF-8 character
// boundary when it does not fit. Returns false when s was cut.
bool nv_copy_text(char* dst, size_t size, std::string_view s);

// Copies text into a record buffer: zero-filled, then as nv_copy_text.
template <size_t N>
void nv_copy_to_buffer(char (&buf)[N], std::string_view text)
{
    std::memset(buf, 0, N);
    nv_copy_text(buf, N, text);
}

bool nv_is_utf8(std::string_view s);
// Value of a hexadecimal digit, -1 for any other character.
int nv_hex_digit(char c);
// Resolves %XX escapes. False, with out untouched, on a malformed escape or when the
// result is not UTF-8.
bool nv_percent_decode(std::string_view in, std::string& out);
// Resolves the well-formed %XX escapes and keeps any other '%' as it is, bytes as they
// come (paths need not be UTF-8).
std::string nv_percent_decode_lenient(std::string_view in);
// Replaces every occurrence of from (non-empty) by to.
std::string nv_replace_all(std::string_view s, std::string_view from, std::string_view to);
