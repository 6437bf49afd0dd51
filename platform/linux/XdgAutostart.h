// Per-user autostart entries: $XDG_CONFIG_HOME/autostart/<id>.desktop, the desktop's way of
// starting a program at login.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The folder of the entries.
std::string nv_autostart_dir();
// The entry of an application id ("nuvroapp.NuvroAgent" -> ".../nuvroapp.NuvroAgent.desktop").
std::string nv_autostart_path(const std::string& appId);

// Quotes one argument for an Exec line by the Desktop Entry rules.
std::string nv_desktop_exec_quote(const std::string& arg);

// Writes an entry that starts argv (argv[0] the program) at login, replacing any file.
bool nv_autostart_write(const std::string& path, const std::string& name, const std::vector<std::string>& argv);
// The program an existing entry starts: the first word of its Exec line. Nothing when the
// path is not a regular file or has no usable Exec line.
std::optional<std::string> nv_autostart_program(const std::string& path);
