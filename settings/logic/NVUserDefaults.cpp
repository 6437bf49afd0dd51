#include "settings/logic/NVUserDefaults.h"

#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVPlistFile.h"

#include <filesystem>

NVUserDefaults::NVUserDefaults(const std::string& suite) : path_(nv_xdg_config_home() + "/" + suite + ".plist") {}

NVUserDefaults NVUserDefaults::atPath(std::string path)
{
    return NVUserDefaults(ByPath{}, std::move(path));
}

NVPlistDict NVUserDefaults::load() const
{
    return nv_plist_file_read(path_).value_or(NVPlistDict{});
}

bool NVUserDefaults::store(const NVPlistDict& d) const
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    if (nv_plist_file_write(path_, d))
        return true;
    nv_log("user defaults: cannot write %s", path_.c_str());
    return false;
}

bool NVUserDefaults::has(const std::string& key) const
{
    return load().contains(key);
}

std::optional<std::string> NVUserDefaults::string(const std::string& key) const
{
    const NVPlistDict d = load();
    const auto it = d.find(key);
    if (it == d.end() || !std::holds_alternative<std::string>(it->second.storage()))
        return std::nullopt;
    return it->second.asString();
}

bool NVUserDefaults::boolValue(const std::string& key) const
{
    return nv_plist_int(load(), key) != 0;
}

bool NVUserDefaults::set(const std::string& key, const std::string& value)
{
    NVPlistDict d = load();
    d[key] = NVPlistValue(value);
    return store(d);
}

bool NVUserDefaults::setBool(const std::string& key, bool value)
{
    NVPlistDict d = load();
    d[key] = NVPlistValue(int32_t{value ? 1 : 0});
    return store(d);
}

bool NVUserDefaults::remove(const std::string& key)
{
    NVPlistDict d = load();
    if (d.erase(key) == 0)
        return true;
    return store(d);
}
