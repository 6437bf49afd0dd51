// Posted events as JSON lines (the replay output format) on a stream, for machines
// without uinput and for watching what the agent does. Nothing is kept in memory.
#pragma once

#include "core/events/WindowSystem.h"
#include "platform/sim/RecordingWindowSystem.h"

#include <ostream>

class Clock;

class EventPrinter : public WindowSystem {
public:
    // Neither is owned.
    EventPrinter(std::ostream& out, const Clock& clock);

    void postEvent(const NVWSEvent& event) override;
    void postHIDEvent(uint32_t connect, const NVHIDEvent& event) override;
    uint32_t connectKeyboard() override;
    void disconnectKeyboard(uint32_t connect) override;

private:
    // Each line goes out at once, so a reader sees events as they happen.
    void sent();

    std::ostream& out_;
    RecordingWindowSystem lines_;
};
