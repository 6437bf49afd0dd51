#include "platform/linux/NVDesktopEntry.h"

#include "core/events/NVLaunchPlan.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Locale suffixes tried for Name, best first: lang_COUNTRY@MOD, lang_COUNTRY, lang@MOD, lang.
std::vector<std::string> locale_keys(std::string_view locale)
{
    std::string_view rest = locale;
    std::string_view modifier;
    if (const size_t at = rest.find('@'); at != std::string_view::npos) {
        modifier = rest.substr(at + 1);
        rest = rest.substr(0, at);
    }
    rest = rest.substr(0, rest.find('.'));
    const size_t us = rest.find('_');
    const std::string lang(rest.substr(0, us));
    if (lang.empty() || lang == "C" || lang == "POSIX")
        return {};
    std::vector<std::string> keys;
    const std::string mod = modifier.empty() ? std::string() : "@" + std::string(modifier);
    if (us != std::string_view::npos) {
        const std::string full = lang + "_" + std::string(rest.substr(us + 1));
        if (!mod.empty())
            keys.push_back(full + mod);
        keys.push_back(full);
    }
    if (!mod.empty())
        keys.push_back(lang + mod);
    keys.push_back(lang);
    return keys;
}

bool is_true(std::string_view v)
{
    return v == "true";
}

std::string env_or(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

} // namespace

NVDesktopEntry nv_parse_desktop_entry(std::string_view text, std::string_view locale)
{
    NVDesktopEntry e;
    std::map<std::string, std::string> names; // Name and Name[xx]
    bool inMain = false;
    std::istringstream in{std::string(text)};
    std::string raw;
    while (std::getline(in, raw)) {
        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inMain = line == "[Desktop Entry]";
            continue;
        }
        const size_t eq = line.find('=');
        if (!inMain || eq == std::string_view::npos)
            continue;
        const std::string key(trim(line.substr(0, eq)));
        const std::string_view value = trim(line.substr(eq + 1));
        if (key == "Name" || key.starts_with("Name["))
            names[key] = nv_desktop_unescape(std::string(value));
        else if (key == "Icon")
            e.icon = nv_desktop_unescape(std::string(value));
        else if (key == "Exec")
            e.exec = nv_desktop_unescape(std::string(value));
        else if (key == "X-Flatpak")
            e.flatpak = nv_desktop_unescape(std::string(value));
        else if (key == "NoDisplay")
            e.noDisplay = is_true(value);
        else if (key == "Hidden")
            e.hidden = is_true(value);
        else if (key == "Type")
            e.isApplication = value == "Application";
    }
    for (const std::string& k : locale_keys(locale)) {
        if (auto it = names.find("Name[" + k + "]"); it != names.end()) {
            e.name = it->second;
            return e;
        }
    }
    if (auto it = names.find("Name"); it != names.end())
        e.name = it->second;
    return e;
}

NVDesktopEntry nv_read_desktop_entry(const fs::path& file, std::string_view locale)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    NVDesktopEntry e = nv_parse_desktop_entry(text.str(), locale);
    e.file = file;
    return e;
}

std::vector<fs::path> nv_xdg_data_dirs()
{
    const std::string home = env_or("HOME", "");
    std::vector<fs::path> dirs;
    const std::string dataHome = env_or("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
    if (!dataHome.empty())
        dirs.emplace_back(dataHome);
    std::istringstream list(env_or("XDG_DATA_DIRS", "/usr/local/share:/usr/share"));
    std::string d;
    while (std::getline(list, d, ':'))
        if (!d.empty() && d.front() == '/')
            dirs.emplace_back(d);
    return dirs;
}

std::vector<fs::path> nv_application_dirs()
{
    std::vector<fs::path> dirs = nv_xdg_data_dirs();
    for (fs::path& d : dirs)
        d /= "applications";
    return dirs;
}

std::vector<NVDesktopEntry> nv_list_applications(const std::vector<fs::path>& dirs, std::string_view locale)
{
    std::map<std::string, NVDesktopEntry> byId;
    std::error_code ec;
    for (auto d = dirs.rbegin(); d != dirs.rend(); ++d) { // later folders first: earlier ones replace them
        fs::recursive_directory_iterator it(*d, fs::directory_options::skip_permission_denied, ec);
        if (ec)
            continue;
        for (const fs::directory_entry& f : it) {
            if (f.path().extension() != ".desktop" || !f.is_regular_file(ec))
                continue;
            std::string id = f.path().lexically_relative(*d).string();
            std::replace(id.begin(), id.end(), '/', '-');
            NVDesktopEntry e = nv_read_desktop_entry(f.path(), locale);
            e.id = id;
            byId[id] = std::move(e);
        }
    }
    std::vector<NVDesktopEntry> apps;
    for (auto& [id, e] : byId)
        if (e.isApplication && !e.hidden && !e.noDisplay && !e.exec.empty() && !e.name.empty())
            apps.push_back(std::move(e));
    std::stable_sort(apps.begin(), apps.end(), [](const NVDesktopEntry& a, const NVDesktopEntry& b) {
        return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                            [](unsigned char x, unsigned char y) {
                                                return std::tolower(x) < std::tolower(y);
                                            });
    });
    return apps;
}

std::string nv_messages_locale()
{
    for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* s = std::getenv(v); s && *s)
            return s;
    return "C";
}
