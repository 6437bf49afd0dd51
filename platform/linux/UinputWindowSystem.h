// Makes posted events real input: pen-derived events go to the pen device, plain mouse
// and scroll events to the pointer device, HID-system events to the keyboard device.
// Every core event becomes one write() to its device.
#pragma once

#include <bitset>
#include <cstdint>
#include <linux/input-event-codes.h>

#include "core/events/WindowSystem.h"
#include "core/input/DisplayList.h"
#include "platform/linux/UinputEncoder.h"

class Clock;

struct NVUinputFds {
    int pen = -1;
    int pointer = -1;
    int keyboard = -1;
};

class UinputWindowSystem : public WindowSystem {
public:
    // Seconds without a pen event after which the pen leaves proximity.
    static constexpr double kProximityTimeout = 0.3;
    // Pixels per wheel detent.
    static constexpr int kPixelsPerDetent = 30;
    // Lowest pressure written while the tip is down: above the 5 % contact threshold of
    // the tablet input stack, so a light stroke is never taken for hovering.
    static constexpr int32_t kPressureFloor = 65535 * 6 / 100;

    // fds are not owned (UinputDevices, or pipes in tests). The desktop box is read from
    // displays now and on each refreshDisplays().
    UinputWindowSystem(NVUinputFds fds, DisplayList& displays, const Clock& clock);

    void postEvent(const NVWSEvent& event) override;
    void postHIDEvent(uint32_t connect, const NVHIDEvent& event) override;
    uint32_t connectKeyboard() override;
    void disconnectKeyboard(uint32_t connect) override;

    // Re-reads the bounding box of the monitors (after a reconfiguration); the devices
    // stay as they are.
    void refreshDisplays();
    // When the pen should leave proximity if nothing else comes; negative while out of
    // proximity. The main loop arms a timer for it and then calls checkProximity().
    double proximityDeadline() const;
    void checkProximity();

    // Global desktop coordinates to the devices' 0..2^20-1 range.
    int32_t absX(double x) const;
    int32_t absY(double y) const;

private:
    struct PenState {
        bool inProximity = false;
        bool touching = false;     // the core's tip state
        bool touchWritten = false; // BTN_TOUCH as last written
        uint16_t tool = BTN_TOOL_PEN;
        int32_t x = 0;
        int32_t y = 0;
        int32_t pressure = 0;
        int32_t tiltX = 0;
        int32_t tiltY = 0;
    };

    void penEvent(const NVWSEvent& e);
    void pointerEvent(const NVWSEvent& e);
    void scroll(const NVWSEvent& e);
    void takePenAxes(const NVWSEvent& e, double pressure);
    void addPenEnter();
    void addPenMotion();
    // endTouch: the pen is gone, not just changing tools.
    void addPenLeave(bool endTouch);
    void modifiers(uint64_t flags);
    void setKey(uint16_t code, int32_t value);
    void flush(int fd);

    NVUinputFds fds_;
    DisplayList& displays_;
    const Clock& clock_;
    NVScreenRect box_{0, 0, 0, 0};
    UinputFrame frame_;
    PenState pen_;
    double lastPenTime_ = 0.0;
    int32_t wheelRemainder_ = 0;
    uint64_t modifierFlags_ = 0;
    std::bitset<KEY_CNT> keysDown_;
    bool keyboardConnected_ = false;
    bool writeFailed_ = false;
};
