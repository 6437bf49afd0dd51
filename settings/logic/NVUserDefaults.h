// A user-defaults suite: a small property list "<config folder>/<suite>.plist" of named
// values that outlive the configuration folder of the suite (the uninstall removes entries
// by name). Writes go to the file at once.
#pragma once

#include "core/channel/NVPlist.h"

#include <optional>
#include <string>

inline constexpr const char* nvSuiteNuvroTablet = "suite_nuvrotablet";
inline constexpr const char* nvKeyOpenDriver = "key_opendriver";

class NVUserDefaults {
public:
    // The suite's file under the user's config folder ($XDG_CONFIG_HOME, else ~/.config).
    explicit NVUserDefaults(const std::string& suite);
    // The suite kept in that file.
    static NVUserDefaults atPath(std::string path);

    const std::string& path() const { return path_; }
    bool has(const std::string& key) const;
    std::optional<std::string> string(const std::string& key) const;
    // Missing or not a number reads as false.
    bool boolValue(const std::string& key) const;

    // Each returns whether the file was written.
    bool set(const std::string& key, const std::string& value);
    bool setBool(const std::string& key, bool value);
    // Removing a key that is not there writes nothing and succeeds.
    bool remove(const std::string& key);

private:
    struct ByPath {};
    NVUserDefaults(ByPath, std::string path) : path_(std::move(path)) {}
    // The file as it is now: another process may have changed it since the last read.
    NVPlistDict load() const;
    bool store(const NVPlistDict& d) const;

    std::string path_;
};
