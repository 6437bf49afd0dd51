// A window system that keeps every posted event, in order, for tests and replay; each
// event can also go out as one JSON line.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/events/WindowSystem.h"

class Clock;

struct NVRecordedEvent {
    double t;
    bool isHID;
    NVWSEvent ws;       // when !isHID
    NVHIDEvent hid;     // when isHID
    uint32_t connect;   // keyboard connection of a HID event
};

class RecordingWindowSystem : public WindowSystem {
public:
    // clock stamps each event (0 without one); neither pointer is owned.
    explicit RecordingWindowSystem(const Clock* clock = nullptr, std::ostream* jsonOut = nullptr);

    void postEvent(const NVWSEvent& event) override;
    void postHIDEvent(uint32_t connect, const NVHIDEvent& event) override;
    uint32_t connectKeyboard() override;
    void disconnectKeyboard(uint32_t connect) override;

    const std::vector<NVRecordedEvent>& events() const { return events_; }
    void clear() { events_.clear(); }
    // Makes connectKeyboard fail, as a machine without a keyboard device.
    void setKeyboardAvailable(bool available) { keyboardAvailable_ = available; }
    bool keyboardConnected() const { return keyboardConnected_; }

    // One line of the replay output format, without the newline.
    static std::string jsonLine(const NVRecordedEvent& event);

private:
    void record(const NVRecordedEvent& event);

    const Clock* clock_;
    std::ostream* jsonOut_;
    std::vector<NVRecordedEvent> events_;
    bool keyboardAvailable_ = true;
    bool keyboardConnected_ = false;
};
