// Property-list values as JSON, for recordings and replay output: strings, integers,
// string arrays and dictionaries map to their JSON kinds; byte data is an object with the
// single key "data" holding its hex digits.
#pragma once

#include "core/channel/NVPlist.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

nlohmann::ordered_json nv_plist_to_json(const NVPlistDict& dict);
// false, with why, for a value that is no property list (a fraction, a boolean, null, a
// mixed array, an integer beyond 32 bits, bad hex).
bool nv_plist_from_json(const nlohmann::json& json, NVPlistDict& out, std::string& why);

// Lower-case hex digits, separated by sep when it is not 0.
std::string nv_hex(const uint8_t* bytes, size_t length, char sep = 0);
// Hex digits, optionally separated by spaces; false for anything else or an odd digit count.
bool nv_unhex(const std::string& text, std::vector<uint8_t>& out);
