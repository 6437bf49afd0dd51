#include "helper/logic/NVUpdatePage.h"

#include "core/log/NVLog.h"

#include <algorithm>

namespace {

constexpr std::string_view kDriver = "driver";
constexpr std::string_view kTarget = "target";
constexpr std::string_view kLinkStart = "<a href=\"";
constexpr std::string_view kVersionStart = "_v";
// A component beyond this is capped, so that the weighted difference cannot overflow.
constexpr int64_t kComponentCap = 999'999'999'999;

// page[from, targetPos - 2), when the first "target" leaves room for it.
std::optional<std::string> up_to_target(std::string_view page, size_t from)
{
    const size_t t = page.find(kTarget);
    if (t == std::string_view::npos || t < 2 || from > t - 2)
        return std::nullopt;
    return std::string(page.substr(from, t - 2 - from));
}

// Texts from the page are logged only so far: the page is not ours.
int clipped(std::string_view text)
{
    return static_cast<int>(std::min<size_t>(text.size(), 80));
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int64_t integer_value(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kComponentCap, value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

} // namespace

std::optional<std::string> nv_update_package_name(std::string_view page)
{
    const size_t d = page.find(kDriver);
    if (d == std::string_view::npos)
        return std::nullopt;
    return up_to_target(page, d + kDriver.size() + 1);
}

std::optional<std::string> nv_update_server_version(std::string_view packageName)
{
    const size_t v = packageName.find(kVersionStart);
    const size_t end = packageName.find(nvPackageSuffix);
    if (v == std::string_view::npos || end == std::string_view::npos || end < v + kVersionStart.size())
        return std::nullopt;
    const size_t from = v + kVersionStart.size();
    return std::string(packageName.substr(from, end - from));
}

std::optional<std::string> nv_update_link(std::string_view page)
{
    const size_t h = page.find(kLinkStart);
    if (h == std::string_view::npos)
        return std::nullopt;
    return up_to_target(page, h + kLinkStart.size());
}

std::optional<std::array<int64_t, 3>> nv_version_components(std::string_view version)
{
    std::array<int64_t, 3> parts{};
    size_t from = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (from > version.size())
            return std::nullopt;
        const size_t dot = version.find('.', from);
        parts[i] = integer_value(version.substr(from, dot == std::string_view::npos ? std::string_view::npos : dot - from));
        from = dot == std::string_view::npos ? version.size() + 1 : dot + 1;
    }
    return parts;
}

bool nv_server_is_newer(std::string_view serverVersion, std::string_view installedText)
{
    const std::string_view installed = installedText.empty() ? installedText : installedText.substr(1);
    nv_log("用户驱动版本: %.*s", clipped(installed), installed.data());
    const auto s = nv_version_components(serverVersion);
    const auto u = nv_version_components(installed);
    if (!s || !u) {
        nv_log("version check: \"%.*s\" or \"%.*s\" has fewer than three components, not newer",
               clipped(serverVersion), serverVersion.data(), clipped(installed), installed.data());
        return false;
    }
    return ((*s)[0] - (*u)[0]) * 1000000 + ((*s)[1] - (*u)[1]) * 10000 + ((*s)[2] - (*u)[2]) > 0;
}

bool nv_page_announces_newer(std::string_view page, std::string_view installedText)
{
    const auto name = nv_update_package_name(page);
    const auto version = name ? nv_update_server_version(*name) : std::nullopt;
    if (!version) {
        nv_log("version check: the update page names no package \"driver/…_v….deb\" before \"target\", not newer");
        return false;
    }
    nv_log("服务器最新版本: %.*s", clipped(*version), version->data());
    return nv_server_is_newer(*version, installedText);
}

bool nv_update_link_stays_on_server(std::string_view link)
{
    if (link.size() < 2 || link[0] != '/' || link[1] == '/')
        return false;
    return std::none_of(link.begin(), link.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7f || c == '\\';
    });
}

bool nv_package_name_is_plain(std::string_view name)
{
    return !name.empty() && name[0] != '.' && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("._+~-").find(c) != std::string_view::npos;
    });
}

bool nv_message_is_yes(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    while (i < text.size() && text[i] == '0')
        ++i;
    if (i == text.size())
        return false;
    const char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}
