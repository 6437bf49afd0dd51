#include "platform/sim/NVPlistJson.h"

#include "core/model/NVText.h"

#include <limits>

namespace {

constexpr const char* kDataKey = "data";
// Nesting beyond any notification of the suite; deeper input is refused, not recursed into.
constexpr int kMaxDepth = 16;

bool dict_from_json(const nlohmann::json& json, NVPlistDict& out, std::string& why, int depth);

nlohmann::ordered_json value_to_json(const NVPlistValue& v)
{
    const NVPlistValue::Storage& s = v.storage();
    if (const auto* str = std::get_if<std::string>(&s))
        return *str;
    if (const auto* i = std::get_if<int32_t>(&s))
        return *i;
    if (const auto* strings = std::get_if<NVPlistStrings>(&s))
        return *strings;
    if (const auto* data = std::get_if<NVPlistData>(&s))
        return nlohmann::ordered_json{{kDataKey, nv_hex(data->data(), data->size())}};
    if (const auto* dict = std::get_if<NVPlistDict>(&s))
        return nv_plist_to_json(*dict);
    return nullptr;
}

bool value_from_json(const nlohmann::json& j, NVPlistValue& out, std::string& why, int depth)
{
    if (j.is_string()) {
        out = j.get<std::string>();
        return true;
    }
    if (j.is_number_integer()) {
        const auto lo = std::numeric_limits<int32_t>::min();
        const auto hi = std::numeric_limits<int32_t>::max();
        if (j.is_number_unsigned() ? j.get<uint64_t>() > static_cast<uint64_t>(hi)
                                   : (j.get<int64_t>() < lo || j.get<int64_t>() > hi)) {
            why = "integer out of the 32-bit range";
            return false;
        }
        out = static_cast<int32_t>(j.get<int64_t>());
        return true;
    }
    if (j.is_array()) {
        NVPlistStrings strings;
        for (const auto& item : j) {
            if (!item.is_string()) {
                why = "arrays may hold strings only";
                return false;
            }
            strings.push_back(item.get<std::string>());
        }
        out = std::move(strings);
        return true;
    }
    if (j.is_object()) {
        if (j.size() == 1 && j.contains(kDataKey) && j[kDataKey].is_string()) {
            NVPlistData data;
            if (!nv_unhex(j[kDataKey].get<std::string>(), data)) {
                why = "data is not hex";
                return false;
            }
            out = std::move(data);
            return true;
        }
        NVPlistDict dict;
        if (!dict_from_json(j, dict, why, depth + 1))
            return false;
        out = std::move(dict);
        return true;
    }
    why = "not a property-list value";
    return false;
}

bool dict_from_json(const nlohmann::json& json, NVPlistDict& out, std::string& why, int depth)
{
    if (!json.is_object()) {
        why = "user info is not an object";
        return false;
    }
    if (depth > kMaxDepth) {
        why = "nested too deeply";
        return false;
    }
    out.clear();
    for (const auto& [key, value] : json.items()) {
        NVPlistValue v;
        if (!value_from_json(value, v, why, depth)) {
            why = key + ": " + why;
            return false;
        }
        out.emplace(key, std::move(v));
    }
    return true;
}

} // namespace

nlohmann::ordered_json nv_plist_to_json(const NVPlistDict& dict)
{
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const auto& [key, value] : dict)
        j[key] = value_to_json(value);
    return j;
}

bool nv_plist_from_json(const nlohmann::json& json, NVPlistDict& out, std::string& why)
{
    return dict_from_json(json, out, why, 0);
}

std::string nv_hex(const uint8_t* bytes, size_t length, char sep)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        if (sep && i > 0)
            out += sep;
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    return out;
}

bool nv_unhex(const std::string& text, std::vector<uint8_t>& out)
{
    out.clear();
    int high = -1;
    for (char c : text) {
        if (c == ' ') {
            if (high >= 0)
                return false; // a space inside a byte
            continue;
        }
        const int d = nv_hex_digit(c);
        if (d < 0)
            return false;
        if (high < 0) {
            high = d;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | d));
            high = -1;
        }
    }
    return high < 0;
}
