#include "tools/NVReplayLine.h"

#include "platform/sim/NVPlistJson.h"

#include <algorithm>
#include <cmath>

namespace {

using json = nlohmann::json;

bool fail(std::string& why, std::string text)
{
    why = std::move(text);
    return false;
}

bool read_u16(const json& j, const char* key, uint16_t& out, std::string& why)
{
    if (!j.contains(key) || !j[key].is_number_integer())
        return fail(why, std::string("device: \"") + key + "\" must be an integer");
    const int64_t v = j[key].get<int64_t>();
    if (v < 0 || v > 0xFFFF || (j[key].is_number_unsigned() && j[key].get<uint64_t>() > 0xFFFF))
        return fail(why, std::string("device: \"") + key + "\" is not a 16-bit value");
    out = static_cast<uint16_t>(v);
    return true;
}

bool parse_device(const json& d, SimDeviceScript& out, std::string& why)
{
    if (!d.is_object())
        return fail(why, "device must be an object");
    out = SimDeviceScript{};
    out.strings.clear();
    if (!read_u16(d, "vendor", out.vendor, why) || !read_u16(d, "product", out.product, why))
        return false;
    for (const auto& [key, value] : d.items()) {
        if (key == "vendor" || key == "product")
            continue;
        int index = -1;
        if (key == "string200")
            index = 200;
        else if (key == "string201")
            index = 201;
        else if (key == "string209")
            index = 209;
        if (index < 0)
            return fail(why, "device: unknown key \"" + key + "\"");
        std::vector<uint8_t> payload;
        if (!value.is_string() || !nv_unhex(value.get<std::string>(), payload))
            return fail(why, "device: \"" + key + "\" must be hex digits");
        if (payload.size() > NV_USB_STRING_BUFFER - 2)
            return fail(why, "device: \"" + key + "\" is longer than a string descriptor");
        out.strings[static_cast<uint8_t>(index)] = std::move(payload);
    }
    return true;
}

bool finite_number(const json& j) { return j.is_number() && std::isfinite(j.get<double>()); }

bool parse_displays(const json& d, std::vector<NVDisplayInfo>& out, std::string& why)
{
    if (!d.is_array() || d.empty())
        return fail(why, "displays must be a non-empty array of [x, y, width, height]");
    out.clear();
    uint32_t id = 1;
    for (const json& r : d) {
        if (!r.is_array() || r.size() != 4 || !std::all_of(r.begin(), r.end(), finite_number))
            return fail(why, "a display must be [x, y, width, height]");
        const NVScreenRect rect{r[0].get<double>(), r[1].get<double>(), r[2].get<double>(), r[3].get<double>()};
        if (!(rect.width > 0) || !(rect.height > 0))
            return fail(why, "a display must have a positive width and height");
        out.push_back(NVDisplayInfo{id++, rect});
    }
    return true;
}

} // namespace

bool nv_parse_replay_line(const std::string& text, NVReplayLine& out, std::string& why)
{
    const json j = json::parse(text, nullptr, false);
    if (j.is_discarded())
        return fail(why, "not JSON");
    if (!j.is_object())
        return fail(why, "not a JSON object");

    out = NVReplayLine{};
    if (j.contains("t")) {
        if (!finite_number(j["t"]) || j["t"].get<double>() < 0)
            return fail(why, "\"t\" must be a number of seconds, not negative");
        out.hasTime = true;
        out.t = j["t"].get<double>();
    }
    const std::string kinds[] = {"device", "displays", "cfg", "report", "notification", "activate", "unplug"};
    int found = -1;
    for (const auto& [key, value] : j.items()) {
        if (key == "t")
            continue;
        const auto it = std::find(std::begin(kinds), std::end(kinds), key);
        if (it == std::end(kinds))
            return fail(why, "unknown key \"" + key + "\"");
        if (found >= 0)
            return fail(why, "more than one event on the line");
        found = static_cast<int>(it - std::begin(kinds));
    }
    if (found < 0)
        return fail(why, "no event on the line");
    out.kind = static_cast<NVReplayLine::Kind>(found);
    const json& v = j[kinds[found]];

    switch (out.kind) {
    case NVReplayLine::Kind::Device:
        return parse_device(v, out.device, why);
    case NVReplayLine::Kind::Displays:
        return parse_displays(v, out.displays, why);
    case NVReplayLine::Kind::Cfg:
        if (!v.is_object())
            return fail(why, "cfg must be an object");
        out.cfg = v;
        break;
    case NVReplayLine::Kind::Report:
        if (!v.is_string() || !nv_unhex(v.get<std::string>(), out.bytes))
            return fail(why, "report must be hex bytes");
        if (out.bytes.empty() || out.bytes.size() > NV_REPLAY_REPORT_MAX)
            return fail(why, "report must hold 1 to 64 bytes");
        break;
    case NVReplayLine::Kind::Notification:
        if (!v.is_object() || !v.contains("name") || !v["name"].is_string())
            return fail(why, "notification must have a \"name\" string");
        out.name = v["name"].get<std::string>();
        if (v.contains("userInfo") && !nv_plist_from_json(v["userInfo"], out.userInfo, why))
            return fail(why, "notification userInfo: " + why);
        break;
    case NVReplayLine::Kind::Activate:
        if (!v.is_string())
            return fail(why, "activate must be an application path");
        out.appPath = v.get<std::string>();
        break;
    case NVReplayLine::Kind::Unplug:
        if (!v.is_boolean() || !v.get<bool>())
            return fail(why, "unplug must be true");
        break;
    }
    if (!out.hasTime && out.kind != NVReplayLine::Kind::Device && out.kind != NVReplayLine::Kind::Displays)
        return fail(why, "\"t\" is missing");
    return true;
}
