// Installed applications: the desktop entries of the XDG application folders.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct NVDesktopEntry {
    std::string id;      // desktop-file id: path below applications/, "/" turned into "-"
    std::filesystem::path file;
    std::string name;    // Name, localised for the locale given to the parser
    std::string icon;    // an icon name of the theme, or an absolute file
    std::string exec;    // the Exec line, string escapes removed
    std::string flatpak; // X-Flatpak: the sandboxed application's id
    bool noDisplay = false;
    bool hidden = false;
    bool isApplication = false; // Type=Application
};

// The [Desktop Entry] group of a file's text. locale is as in LC_MESSAGES
// ("de_DE.UTF-8@euro"): Name[de_DE], then Name[de], then Name.
NVDesktopEntry nv_parse_desktop_entry(std::string_view text, std::string_view locale);

// The entry of a file; an empty one when the file cannot be read.
NVDesktopEntry nv_read_desktop_entry(const std::filesystem::path& file, std::string_view locale);

// The folders searched, most important first: $XDG_DATA_HOME (~/.local/share) then each of
// $XDG_DATA_DIRS (/usr/local/share:/usr/share), each with "applications" appended.
std::vector<std::filesystem::path> nv_application_dirs();
std::vector<std::filesystem::path> nv_xdg_data_dirs();

// Applications a user may choose, sorted by name: an id found in an earlier folder hides
// the same id in later ones; hidden, NoDisplay and non-application entries and those
// without an Exec line are left out.
std::vector<NVDesktopEntry> nv_list_applications(const std::vector<std::filesystem::path>& dirs,
                                                 std::string_view locale);
// The LC_ALL / LC_MESSAGES / LANG of the process.
std::string nv_messages_locale();
