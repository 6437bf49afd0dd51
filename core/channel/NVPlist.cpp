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
