// Property-list values, the only data that travels between the programs: strings,
// 32-bit integers, string arrays, byte data and dictionaries.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

class NVPlistValue;
using NVPlistDict = std::map<std::string, NVPlistValue>;
using NVPlistData = std::vector<uint8_t>;
using NVPlistStrings = std::vector<std::string>;

class NVPlistValue {
public:
    using Storage = std::variant<std::monostate, std::string, int32_t, NVPlistStrings, NVPlistData, NVPlistDict>;

    NVPlistValue() = default;
    NVPlistValue(std::string s) : v_(std::move(s)) {}
    NVPlistValue(const char* s) : v_(std::string(s)) {}
    NVPlistValue(int32_t i) : v_(i) {}
    NVPlistValue(NVPlistStrings a) : v_(std::move(a)) {}
    NVPlistValue(NVPlistData d) : v_(std::move(d)) {}
    NVPlistValue(NVPlistDict d) : v_(std::move(d)) {}

    const Storage& storage() const { return v_; }

    // Typed reads: a value of another type reads as the empty value of the asked type.
    const std::string& asString() const;
    int32_t asInt() const;
    const NVPlistStrings& asStrings() const;
    const NVPlistData& asData() const;
    const NVPlistDict& asDict() const;

    bool operator==(const NVPlistValue&) const = default;

private:
    Storage v_;
};

// Reads of a dictionary entry: a missing key or a value of another type gives zero,
// the empty string, an empty array or empty data, never an error.
const std::string& nv_plist_string(const NVPlistDict& d, const std::string& key);
int32_t nv_plist_int(const NVPlistDict& d, const std::string& key);
const NVPlistStrings& nv_plist_strings(const NVPlistDict& d, const std::string& key);
const NVPlistData& nv_plist_data(const NVPlistDict& d, const std::string& key);
const NVPlistDict& nv_plist_dict(const NVPlistDict& d, const std::string& key);

// Readable text of a value for log lines, in the property-list text style:
// {key = value; ...}, (a, b), data as its length.
std::string nv_plist_describe(const NVPlistValue& v);
