#include "settings/logic/NVDisplayMatch.h"

#include "settings/logic/NVEdid.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

constexpr size_t kEdidBlock = 128;

// The base block names the monitor, serial included; extensions may be cut short by
// some drivers' properties.
bool same_edid(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() >= kEdidBlock && b.size() >= kEdidBlock)
        return std::equal(a.begin(), a.begin() + kEdidBlock, b.begin());
    return a == b;
}

// "card0-HDMI-A-1" → "HDMI-A-1", as the window system would show it.
std::string without_card(const std::string& name)
{
    if (name.rfind("card", 0) != 0)
        return name;
    size_t i = 4;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])))
        ++i;
    return i > 4 && i < name.size() && name[i] == '-' ? name.substr(i + 1) : name;
}

// An output name as the kernel and the X drivers spell it in their own ways, made
// comparable: "card0-HDMI-A-1", "HDMI-A-1", "HDMI-1" and "HDMI1" are all "hdmi1".
std::string output_key(const std::string& name)
{
    std::string s = without_card(name);
    if (s.rfind("HDMI-A-", 0) == 0)
        s.erase(4, 2);
    std::string key;
    for (char c : s)
        if (c != '-')
            key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return key;
}

bool same_output(const NVDisplayIdentity& d, const DrmConnector& c)
{
    return !d.name.empty() && output_key(d.name) == output_key(c.name);
}

} // namespace

std::vector<DDCDisplay> nv_match_ddc_displays(const std::vector<NVDisplayIdentity>& displays,
                                              const std::vector<DrmConnector>& connectors)
{
    std::vector<std::optional<size_t>> match(displays.size());
    std::vector<bool> taken(connectors.size(), false);
    auto pick = [&](size_t d, auto fits) {
        std::optional<size_t> found;
        for (size_t c = 0; c < connectors.size(); ++c) {
            if (taken[c] || !fits(connectors[c]))
                continue;
            // Among monitors that look alike, the one on the same output.
            if (!found || (same_output(displays[d], connectors[c]) && !same_output(displays[d], connectors[*found])))
                found = c;
        }
        if (found) {
            taken[*found] = true;
            match[d] = found;
        }
    };
    // EDIDs first, so that a pairing by name never takes a connector an EDID claims.
    for (size_t d = 0; d < displays.size(); ++d)
        if (!displays[d].edid.empty())
            pick(d, [&](const DrmConnector& c) { return same_edid(displays[d].edid, c.edid); });
    for (size_t d = 0; d < displays.size(); ++d)
        if (!match[d])
            pick(d, [&](const DrmConnector& c) {
                return (displays[d].edid.empty() || c.edid.empty()) && same_output(displays[d], c);
            });

    std::vector<DDCDisplay> out;
    for (size_t d = 0; d < displays.size(); ++d) {
        const DrmConnector* c = match[d] ? &connectors[*match[d]] : nullptr;
        DDCDisplay display;
        display.displayID = static_cast<uint32_t>(d);
        display.bus = c ? c->i2cBus : -1;
        auto names = nv_edid_names(displays[d].edid);
        if (!names && c)
            names = nv_edid_names(c->edid);
        if (names) {
            display.screenName = names->productName;
            display.seriaNumber = names->serialNumber;
        }
        if (display.screenName.empty())
            display.screenName = !displays[d].name.empty() ? displays[d].name : c ? without_card(c->name) : "";
        out.push_back(std::move(display));
    }
    return out;
}
