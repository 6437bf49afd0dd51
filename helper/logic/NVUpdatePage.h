// What the update page announces and how it compares with the installed version. The page
// is read by its markers only: the package name runs from just past the first "driver" to
// two characters before the first "target", the version sits between "_v" and ".deb" in
// that name, and the link runs from the first `<a href="` to two characters before "target".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view nvPackageSuffix = ".deb";

// Nothing when a marker is missing or the markers leave no room for the text.
std::optional<std::string> nv_update_package_name(std::string_view page);
std::optional<std::string> nv_update_server_version(std::string_view packageName);
std::optional<std::string> nv_update_link(std::string_view page);

// The first three components of "a.b.c[...]", each read as the integer its text begins with
// (leading blanks and a sign allowed, no digits reads 0, huge values are capped). Nothing
// when there are fewer than three components.
std::optional<std::array<int64_t, 3>> nv_version_components(std::string_view version);

// The server's version is newer when (S0-U0)*1000000 + (S1-U1)*10000 + (S2-U2) > 0.
// installedText carries one character before the numbers ("v3.2.1"). Either version with
// fewer than three components is not newer, with one log line.
bool nv_server_is_newer(std::string_view serverVersion, std::string_view installedText);

// The whole check on a fetched page: not newer, with one log line, when the page lacks a
// marker; the server's version is logged when found.
bool nv_page_announces_newer(std::string_view page, std::string_view installedText);

// A link is followed only as a path on the configured server: it begins with one "/" and
// holds no blank, control character or backslash. Another host's address is refused.
bool nv_update_link_stays_on_server(std::string_view link);
// A package name is used as a file name in Downloads only when it is one plain name: not
// empty, not starting with ".", only letters, digits and "._+~-".
bool nv_package_name_is_plain(std::string_view name);

// The truth of a message text as the settings application means it: after blanks and an
// optional sign and zeros, a leading "Y", "y", "T", "t" or digit 1-9 is true.
bool nv_message_is_yes(std::string_view text);
