#include "core/channel/NVPlist.h"

namespace {

const std::string kEmptyString;
const NVPlistStrings kEmptyStrings;
const NVPlistData kEmptyData;
const NVPlistDict kEmptyDict;

template <typename T>
const T& get_or(const NVPlistValue::Storage& v, const T& empty)
{
    const T* p = std::get_if<T>(&v);
    return p ? *p : empty;
}

const NVPlistValue* find(const NVPlistDict& d, const std::string& key)
{
    auto it = d.find(key);
    return it == d.end() ? nullptr : &it->second;
}

} // namespace

const std::string& NVPlistValue::asString() const { return get_or(v_, kEmptyString); }
int32_t NVPlistValue::asInt() const { return get_or(v_, int32_t{0}); }
const NVPlistStrings& NVPlistValue::asStrings() const { return get_or(v_, kEmptyStrings); }
const NVPlistData& NVPlistValue::asData() const { return get_or(v_, kEmptyData); }
const NVPlistDict& NVPlistValue::asDict() const { return get_or(v_, kEmptyDict); }

const std::string& nv_plist_string(const NVPlistDict& d, const std::string& key)
{
    const NVPlistValue* v = find(d, key);
    return v ? v->asString() : kEmptyString;
}

int32_t nv_plist_int(const NVPlistDict& d, const std::string& key)
{
    const NVPlistValue* v = find(d, key);
    return v ? v->asInt() : 0;
}

const NVPlistStrings& nv_plist_strings(const NVPlistDict& d, const std::string& key)
{
    const NVPlistValue* v = find(d, key);
    return v ? v->asStrings() : kEmptyStrings;
}

const NVPlistData& nv_plist_data(const NVPlistDict& d, const std::string& key)
{
    const NVPlistValue* v = find(d, key);
    return v ? v->asData() : kEmptyData;
}

const NVPlistDict& nv_plist_dict(const NVPlistDict& d, const std::string& key)
{
    const NVPlistValue* v = find(d, key);
    return v ? v->asDict() : kEmptyDict;
}

namespace {

std::string quoted_if_needed(const std::string& s)
{
    bool plain = !s.empty();
    for (char c : s) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '.' || c == '/';
        plain = plain && ok;
    }
    if (plain)
        return s;
    std::string r = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            r += '\\';
        r += c;
    }
    return r + '"';
}

void describe(const NVPlistValue& v, int depth, std::string& out)
{
    const std::string pad(4 * (depth + 1), ' ');
    const std::string closePad(4 * depth, ' ');
    const auto& s = v.storage();
    if (const auto* str = std::get_if<std::string>(&s)) {
        out += quoted_if_needed(*str);
    } else if (const auto* i = std::get_if<int32_t>(&s)) {
        out += std::to_string(*i);
    } else if (const auto* a = std::get_if<NVPlistStrings>(&s)) {
        out += "(\n";
        for (size_t k = 0; k < a->size(); ++k)
            out += pad + quoted_if_needed((*a)[k]) + (k + 1 < a->size() ? ",\n" : "\n");
        out += closePad + ")";
    } else if (const auto* d = std::get_if<NVPlistData>(&s)) {
        out += "{length = " + std::to_string(d->size()) + "}";
    } else if (const auto* dict = std::get_if<NVPlistDict>(&s)) {
        out += "{\n";
        for (const auto& [key, value] : *dict) {
            out += pad + quoted_if_needed(key) + " = ";
            describe(value, depth + 1, out);
            out += ";\n";
        }
        out += closePad + "}";
    } else {
        out += "(null)";
    }
}

} // namespace

std::string nv_plist_describe(const NVPlistValue& v)
{
    std::string out;
    describe(v, 0, out);
    return out;
}
