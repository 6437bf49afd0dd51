#include "platform/sim/NVRecordingWriter.h"

#include "core/input/DisplayList.h"
#include "platform/sim/NVPlistJson.h"

#include <nlohmann/json.hpp>

NVRecordingWriter::NVRecordingWriter(std::ostream& out) : out_(out) {}

void NVRecordingWriter::device(uint16_t vendor, uint16_t product,
                               const std::map<uint8_t, std::vector<uint8_t>>& strings)
{
    nlohmann::ordered_json d;
    d["vendor"] = vendor;
    d["product"] = product;
    for (uint8_t index : {uint8_t(201), uint8_t(200), uint8_t(209)})
        if (auto it = strings.find(index); it != strings.end())
            d["string" + std::to_string(index)] = nv_hex(it->second.data(), it->second.size());
    line(nlohmann::ordered_json{{"device", d}}.dump());
}

void NVRecordingWriter::displays(const std::vector<NVScreenRect>& bounds)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const NVScreenRect& r : bounds)
        list.push_back({r.x, r.y, r.width, r.height});
    line(nlohmann::ordered_json{{"displays", list}}.dump());
}

void NVRecordingWriter::report(double t, const uint8_t* bytes, size_t length)
{
    line(nlohmann::ordered_json{{"t", t}, {"report", nv_hex(bytes, length, ' ')}}.dump());
}

void NVRecordingWriter::notification(double t, const std::string& name, const NVPlistDict& userInfo)
{
    nlohmann::ordered_json n{{"name", name}, {"userInfo", nv_plist_to_json(userInfo)}};
    line(nlohmann::ordered_json{{"t", t}, {"notification", n}}.dump());
}

void NVRecordingWriter::activate(double t, const std::string& appPath)
{
    line(nlohmann::ordered_json{{"t", t}, {"activate", appPath}}.dump());
}

void NVRecordingWriter::unplug(double t) { line(nlohmann::ordered_json{{"t", t}, {"unplug", true}}.dump()); }

void NVRecordingWriter::line(const std::string& text)
{
    out_ << text << '\n';
    out_.flush();
}
