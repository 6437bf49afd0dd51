// How a key function's target path is opened: always an argument vector, never a shell.
#pragma once

#include <string>
#include <vector>

// A desktop entry's string value with its escapes (\s \n \t \r \\) resolved; any other
// backslash stays as it stands.
std::string nv_desktop_unescape(const std::string& value);

// Splits the Exec value of a desktop entry (its string escapes already removed) into
// arguments by the Desktop Entry quoting rules, expanding field codes: %% → %, %k → the
// entry's path, %c → name, %i → "--icon" icon (when icon is set); file and URL codes
// and deprecated ones expand to nothing. False on an unterminated quote.
bool nv_desktop_exec_split(const std::string& exec, const std::string& entryPath, const std::string& name,
                           const std::string& icon, std::vector<std::string>& argv);

// The arguments of the [Desktop Entry] group's Exec key of an entry's text; false when
// there is none or it cannot be split.
bool nv_desktop_entry_argv(const std::string& text, const std::string& entryPath, std::vector<std::string>& argv);

// An executable regular file runs itself; a ".desktop" entry runs its Exec line; anything
// else (and an entry without a usable Exec line) goes to xdg-open.
std::vector<std::string> nv_launch_argv(const std::string& path);
