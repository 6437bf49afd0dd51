#include "tools/NVReplayConfig.h"

#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/libCross/nvParse.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

bool fail(std::string& why, std::string text)
{
    why = std::move(text);
    return false;
}

std::vector<std::string> split(const std::string& s)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t slash; (slash = s.find('/', start)) != std::string::npos; start = slash + 1)
        parts.push_back(s.substr(start, slash - start));
    parts.push_back(s.substr(start));
    return parts;
}

bool to_index(const std::string& s, int& out)
{
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && out >= 0;
}

// "mekey1" with prefix "mekey" gives 1.
bool indexed_name(const std::string& s, const char* prefix, int& out)
{
    const size_t n = std::strlen(prefix);
    return s.compare(0, n, prefix) == 0 && to_index(s.substr(n), out);
}

std::string model_path(const NVTabletInfo& ti)
{
    return std::string("/NVDevices/") + get_dev_type(ti.devType);
}

// "N/appPath" keys for context indexes the document does not hold yet: the applications
// the change adds, by index. false, with why, unless they continue the contexts in order,
// stay within NV_CONTEXT_MAX and name applications without a context.
bool added_apps(const json& changes, std::vector<std::string> contexts, std::map<int, std::string>& apps,
                std::string& why)
{
    if (contexts.empty())
        return true; // the model has no settings: the edit says so
    for (const auto& [key, v] : changes.items()) {
        const std::vector<std::string> p = split(key);
        int ctx = 0;
        if (p.size() == 2 && p[1] == "appPath" && to_index(p[0], ctx) && ctx >= static_cast<int>(contexts.size()))
            apps[ctx] = v.is_string() ? v.get<std::string>() : std::string();
    }
    for (const auto& [ctx, path] : apps) {
        const std::string key = std::to_string(ctx) + "/appPath";
        if (ctx >= NV_CONTEXT_MAX)
            return fail(why, key + ": at most " + std::to_string(NV_CONTEXT_MAX) + " contexts");
        if (ctx != static_cast<int>(contexts.size()))
            return fail(why, key + ": no context " + std::to_string(ctx) + ", the next free one is " +
                                 std::to_string(contexts.size()));
        if (path.empty())
            return fail(why, key + ": an application path is expected");
        const std::string name = NVConfigIO::appNodeName(path);
        if (std::find(contexts.begin(), contexts.end(), name) != contexts.end())
            return fail(why, key + ": the context " + name + " exists already");
        contexts.push_back(name);
    }
    return true;
}

// Writes into the document just saved from the record, then reads the record back from it.
class CfgEditor {
public:
    // added: contexts the store has just created, appPath included.
    CfgEditor(const NVTabletInfo& ti, const std::map<int, std::string>& added)
        : io_(NVConfigIO::sharedIOInstance()), model_(model_path(ti)), added_(added)
    {
    }

    bool has(const std::string& parent, const std::string& child)
    {
        const std::vector<std::string> names = io_.readSupportAppsFromPath(parent);
        return std::find(names.begin(), names.end(), child) != names.end();
    }

    bool number(const json& v, const std::string& path, std::string& why)
    {
        if (v.is_number_integer() && v.get<int64_t>() >= INT32_MIN && v.get<int64_t>() <= INT32_MAX &&
            !(v.is_number_unsigned() && v.get<uint64_t>() > INT32_MAX))
            io_.writeNodeIntValue(static_cast<int32_t>(v.get<int64_t>()), path);
        else if (v.is_number_float())
            io_.writeNodeFloatValue(v.get<float>(), path);
        else
            return fail(why, path + ": a number is expected");
        return true;
    }

    bool integer(const json& v, const std::string& path, std::string& why)
    {
        if (!v.is_number_integer())
            return fail(why, path + ": an integer is expected");
        return number(v, path, why);
    }

    bool leaf(const std::string& parent, const std::string& name, const json& v, std::string& why)
    {
        if (!has(parent, name))
            return fail(why, "no setting \"" + name + "\" in " + parent);
        return number(v, parent + "/" + name, why);
    }

    // The children of a key node: its leaves, and kbtn with kbKeys spelled as an array.
    bool keyNode(const std::string& parent, const std::string& name, const json& v, std::string& why)
    {
        if (!has(parent, name))
            return fail(why, "no key " + parent + "/" + name);
        if (!v.is_object())
            return fail(why, parent + "/" + name + ": a key node object is expected");
        const std::string node = parent + "/" + name;
        for (const auto& [k, value] : v.items()) {
            if (k == "kbtn") {
                if (!value.is_object())
                    return fail(why, node + "/kbtn: an object is expected");
                for (const auto& [kk, kv] : value.items()) {
                    if (kk != "kbKeys") {
                        if (!integer(kv, node + "/kbtn/" + kk, why))
                            return false;
                        continue;
                    }
                    if (!kv.is_array() || kv.size() > NV_KBKEYS_MAX)
                        return fail(why, node + "/kbtn/kbKeys: up to 16 key codes are expected");
                    for (size_t i = 0; i < NV_KBKEYS_MAX; ++i)
                        if (!integer(i < kv.size() ? kv[i] : json(0), node + "/kbtn/kbkey" + std::to_string(i), why))
                            return false;
                }
            } else if (value.is_string()) {
                io_.writeNodeStringValue(value.get<std::string>(), node + "/" + k);
            } else if (!integer(value, node + "/" + k, why)) {
                return false;
            }
        }
        return true;
    }

    bool apply(const std::string& key, const json& v, std::string& why)
    {
        const std::vector<std::string> contexts = io_.readSupportAppsFromPath(model_);
        if (contexts.empty())
            return fail(why, "no settings for the model " + model_);
        const std::vector<std::string> p = split(key);
        if (p.size() == 1)
            return leaf(model_ + "/" + contexts[0], key, v, why);

        int ctx = 0;
        if (!to_index(p[0], ctx) || ctx >= static_cast<int>(contexts.size()))
            return fail(why, key + ": no context " + p[0]);
        const std::string c = model_ + "/" + contexts[ctx];
        int n = 0;
        int m = 0;
        if (p.size() == 2 && p[1] == "appPath") {
            if (added_.contains(ctx))
                return true;
            if (!v.is_string())
                return fail(why, key + ": a string is expected");
            io_.writeNodeStringValue(v.get<std::string>(), c + "/appPath");
            return true;
        }
        if (p.size() == 3 && (p[1] == "hbtns" || p[1] == "sbtns" || p[1] == "pbtns") && to_index(p[2], n))
            return keyNode(c + "/" + p[1], "ekey" + std::to_string(n), v, why);
        if (p.size() == 3 && p[1] == "mekeys" && p[2] == "num") {
            if (!has(c, "mekeys"))
                return fail(why, key + ": the context has no multi-function keys");
            return integer(v, c + "/mekeys/num", why);
        }
        if (p.size() >= 3 && indexed_name(p[1], "mekey", m)) {
            const std::string mekey = c + "/mekeys/" + p[1];
            if (!has(c + "/mekeys", p[1]))
                return fail(why, key + ": no multi-function key " + p[1]);
            if (p.size() == 3 && (p[2] == "num" || p[2] == "muxFuncNum" || p[2] == "index"))
                return integer(v, mekey + "/" + p[2], why);
            if (p.size() == 4 && indexed_name(p[2], "muxfunc", n) && to_index(p[3], n))
                return keyNode(mekey + "/" + p[2], "ekey" + std::to_string(n), v, why);
        }
        return fail(why, "unknown setting \"" + key + "\"");
    }

private:
    NVConfigIO& io_;
    std::string model_;
    const std::map<int, std::string>& added_;
};

} // namespace

bool nv_replay_apply_cfg(const json& changes, NVConfig& cfg, const NVTabletInfo& ti, std::string& why)
{
    if (ti.devType == 0)
        return fail(why, "a cfg line needs a tablet");
    const fs::path tmp = fs::temp_directory_path() / ("nuvro-replay-cfg-" + std::to_string(getpid()) + ".xml");
    struct Remove {
        fs::path p;
        ~Remove()
        {
            std::error_code ec;
            fs::remove(p, ec);
        }
    } remove{tmp};

    NVConfigIO& io = NVConfigIO::sharedIOInstance();
    if (!NVConfigIO::saveNVConfig(&cfg, tmp.string(), &ti) || !io.openXml(nv_file_url(tmp.string())))
        return fail(why, "the configuration cannot be written");
    // Applications are added as the settings application adds them: the store creates the
    // context (a copy of Default) in the record's document now, and in the user file once
    // the whole change is accepted, so that both list the same contexts.
    std::map<int, std::string> apps;
    if (!added_apps(changes, io.readSupportAppsFromPath(model_path(ti)), apps, why))
        return false;
    for (const auto& [ctx, path] : apps)
        NVConfigIO::createAppNodeInXml(tmp.string(), path, &ti);
    if (!apps.empty() && !io.openXml(nv_file_url(tmp.string())))
        return fail(why, "the configuration cannot be written");
    CfgEditor editor(ti, apps);
    for (const auto& [key, value] : changes.items())
        if (!editor.apply(key, value, why))
            return false;
    if (!io.saveXML(tmp.string(), nullptr))
        return fail(why, "the configuration cannot be written");
    auto changed = std::make_unique<NVConfig>();
    if (!NVConfigIO::readXml(tmp.string(), changed.get(), &ti))
        return fail(why, "the configuration cannot be read back");
    for (const auto& [ctx, path] : apps)
        NVConfigIO::createAppNodeInXml({}, path, &ti);
    std::memcpy(&cfg, changed.get(), sizeof(NVConfig));
    return true;
}
