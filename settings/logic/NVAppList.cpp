#include "settings/logic/NVAppList.h"

#include "core/config/NVConfigIO.h"
#include "core/model/NVText.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::string_view kDefault = "Default";

std::string last_component(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path.substr(path.rfind('/') + 1));
}

NVAppListEntry entry_of(std::string_view url, NVAppEntryKind kind)
{
    NVAppListEntry e;
    e.fileURL = std::string(url);
    e.kind = kind;
    std::string name = last_component(nv_path_of_url(url));
    if (kind == NVAppEntryKind::File) {
        name = name.substr(0, name.find('.'));
        std::erase(name, ' ');
    }
    e.appName = name;
    e.nodeName = NVConfigIO::appNodeName(std::string(url));
    return e;
}

} // namespace

std::string nv_path_of_url(std::string_view url)
{
    if (!url.starts_with("file://"))
        return std::string(url);
    return nv_percent_decode_lenient(url.substr(7));
}

NVAppListEntry nv_app_entry_default()
{
    return {std::string(kDefault), std::string(kDefault), std::string(kDefault), NVAppEntryKind::Default};
}

NVAppListEntry nv_app_entry_for_url(std::string_view url)
{
    return entry_of(url, NVAppEntryKind::File);
}

NVAppListEntry nv_app_entry_missing(std::string_view url)
{
    return entry_of(url, NVAppEntryKind::Missing);
}

NVAppListEntry nv_app_entry_for_app_path(std::string_view appPath)
{
    if (appPath == kDefault)
        return nv_app_entry_default();
    std::error_code ec;
    if (!std::filesystem::exists(nv_path_of_url(appPath), ec))
        return nv_app_entry_missing(appPath);
    return nv_app_entry_for_url(appPath);
}

bool nv_app_list_full(size_t entries)
{
    return entries >= NV_CONTEXT_MAX;
}

std::optional<size_t> nv_app_list_find(const std::vector<NVAppListEntry>& entries, const std::string& nodeName)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].nodeName == nodeName)
            return i;
    return std::nullopt;
}

std::optional<int> nv_context_index(const std::vector<std::string>& contextNames, const std::string& nodeName)
{
    const auto it = std::find(contextNames.begin(), contextNames.end(), nodeName);
    if (it == contextNames.end())
        return std::nullopt;
    return static_cast<int>(it - contextNames.begin());
}

NVWindowRect nv_app_list_placement(NVFlavour flavour, const NVWindowRect& mainFrame)
{
    constexpr int kWidth = 310;
    constexpr int kHeight = 520;
    const bool primary = flavour == NVFlavour::Primary;
    const int dx = primary ? 648 : 500;
    const int dy = primary ? 62 : 78;
    return {mainFrame.x + dx, mainFrame.y + mainFrame.height - dy - kHeight, kWidth, kHeight};
}

bool nv_app_path_fits(std::string_view appPath)
{
    return appPath.size() < NV_STR_MAX;
}

bool nv_cfg_add_context(NVConfig& cfg, int index, std::string_view appPath)
{
    if (index < 1 || index >= NV_CONTEXT_MAX || !nv_app_path_fits(appPath))
        return false;
    NVContextEkeys& c = cfg.contexts[index];
    c = cfg.contexts[0];
    std::memset(c.appPath, 0, sizeof c.appPath);
    std::memcpy(c.appPath, appPath.data(), appPath.size());
    return true;
}

void nv_cfg_remove_context(NVConfig& cfg, int index)
{
    if (index < 1 || index >= NV_CONTEXT_MAX)
        return;
    std::move(cfg.contexts + index + 1, cfg.contexts + NV_CONTEXT_MAX, cfg.contexts + index);
    std::memset(&cfg.contexts[NV_CONTEXT_MAX - 1], 0, sizeof(NVContextEkeys));
}
