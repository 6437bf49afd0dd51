// Posts through the uinput window system and keeps a main-loop timer on its proximity
// deadline, so that a pen which falls silent leaves proximity.
#pragma once

#include "core/events/WindowSystem.h"

#include <QTimer>

class Clock;
class UinputWindowSystem;

class ProximityTimer : public WindowSystem {
public:
    // Neither is owned.
    ProximityTimer(UinputWindowSystem& ws, const Clock& clock);

    void postEvent(const NVWSEvent& event) override;
    void postHIDEvent(uint32_t connect, const NVHIDEvent& event) override;
    uint32_t connectKeyboard() override;
    void disconnectKeyboard(uint32_t connect) override;

    bool armed() const { return timer_.isActive(); }

private:
    // Starts the timer for the deadline unless it already runs; it then re-arms itself for
    // a deadline that moved on.
    void arm();
    void fire();

    UinputWindowSystem& ws_;
    const Clock& clock_;
    QTimer timer_;
};
