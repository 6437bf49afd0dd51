#include "platform/sim/RecordingWindowSystem.h"

#include <nlohmann/json.hpp>

#include "core/input/Clock.h"

namespace {

constexpr uint32_t kConnection = 1;

} // namespace

RecordingWindowSystem::RecordingWindowSystem(const Clock* clock, std::ostream* jsonOut)
    : clock_(clock), jsonOut_(jsonOut)
{
}

void RecordingWindowSystem::postEvent(const NVWSEvent& event)
{
    record(NVRecordedEvent{clock_ ? clock_->now() : 0.0, false, event, NVHIDEvent{}, 0});
}

void RecordingWindowSystem::postHIDEvent(uint32_t connect, const NVHIDEvent& event)
{
    record(NVRecordedEvent{clock_ ? clock_->now() : 0.0, true, NVWSEvent{}, event, connect});
}

uint32_t RecordingWindowSystem::connectKeyboard()
{
    keyboardConnected_ = keyboardAvailable_;
    return keyboardConnected_ ? kConnection : 0;
}

void RecordingWindowSystem::disconnectKeyboard(uint32_t connect)
{
    if (connect == kConnection)
        keyboardConnected_ = false;
}

void RecordingWindowSystem::record(const NVRecordedEvent& event)
{
    events_.push_back(event);
    if (jsonOut_)
        *jsonOut_ << jsonLine(event) << '\n';
}

std::string RecordingWindowSystem::jsonLine(const NVRecordedEvent& r)
{
    nlohmann::ordered_json j;
    j["t"] = r.t;
    if (r.isHID) {
        j["hid"] = r.hid.type;
        j["key"] = r.hid.keyCode;
        j["repeat"] = r.hid.repeat;
        j["flags"] = r.hid.eventFlags;
        return j.dump();
    }
    const NVWSEvent& e = r.ws;
    j["event"] = e.type;
    if (e.hasLocation) {
        j["location"] = {e.x, e.y};
        j["button"] = e.button;
    }
    if (e.subtype != NVMST_NONE)
        j["subtype"] = e.subtype;
    if (e.hasFlags)
        j["flags"] = e.flags;
    if (e.type == NVET_SCROLL_WHEEL)
        j["wheel"] = {e.wheel1};
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (int k = 0; k < e.fieldCount; ++k) {
        const NVWSField& f = e.fields[k];
        if (f.isDouble)
            fields[std::to_string(f.number)] = f.d;
        else
            fields[std::to_string(f.number)] = f.i;
    }
    j["fields"] = std::move(fields);
    return j.dump();
}
