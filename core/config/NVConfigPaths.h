// Where the configuration files live, and the file URLs the store opens them by.
#pragma once

#include <string>

// Folder of the running executable; empty when its path does not fit 255 bytes.
std::string get_cur_path();
// The resource folder: "<executable folder>/../Resources" unless set below.
std::string getResPath();
// Tests and tools point the store at another resource folder; empty restores the default.
void nv_set_res_path(const std::string& path);
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string nv_xdg_config_home();
// The per-user data folder: $XDG_CONFIG_HOME/NuvroTablet (default ~/.config/NuvroTablet).
std::string nv_config_user_dir();
// nv_config_user_dir() + "/config_user.xml".
std::string getConfigUserFullPath();
// resource folder + "/res/config_default.xml".
std::string nv_config_default_path();

// "file://" + path with percent escapes for UTF-8 (a space becomes %20).
std::string nv_file_url(const std::string& path);
// The filesystem path of a file URL (escapes removed); any other string is taken as a path.
std::string nv_url_path(const std::string& url);
// A file URL as it is; a path made into one with nv_file_url.
std::string nv_as_file_url(const std::string& pathOrUrl);
