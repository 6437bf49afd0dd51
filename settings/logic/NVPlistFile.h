// Property-list files of the settings application ("tabletSettings.plist", the user
// defaults, Info.plist): an XML dictionary of strings, integers and string arrays.
#pragma once

#include "core/channel/NVPlist.h"

#include <optional>
#include <string>

// The top dictionary of the file; nothing when it is missing, refused by the guarded
// parser, or not a property list. Entries of other types are left out.
std::optional<NVPlistDict> nv_plist_file_read(const std::string& path);
// Writes the dictionary (strings, integers, string arrays) over the file atomically.
bool nv_plist_file_write(const std::string& path, const NVPlistDict& dict);

// "<data folder>/tabletSettings.plist"
std::string nv_tablet_settings_path(const std::string& dataDir);
// Records where the suite is installed, for a later uninstall.
bool nv_write_tablet_driver_path(const std::string& dataDir, const std::string& bundlePath);
// The recorded install path; empty when there is none.
std::string nv_read_tablet_driver_path(const std::string& dataDir);
