// Where synthetic input goes: the window system's event vocabulary, as fixed-size values so
// that posting on the pen path never touches the heap.
#pragma once

#include <cstdint>

// Window-system event types.
inline constexpr int32_t NVET_NULL = 0;
inline constexpr int32_t NVET_LEFT_MOUSE_DOWN = 1;
inline constexpr int32_t NVET_LEFT_MOUSE_UP = 2;
inline constexpr int32_t NVET_RIGHT_MOUSE_DOWN = 3;
inline constexpr int32_t NVET_RIGHT_MOUSE_UP = 4;
inline constexpr int32_t NVET_MOUSE_MOVED = 5;
inline constexpr int32_t NVET_LEFT_MOUSE_DRAGGED = 6;
inline constexpr int32_t NVET_RIGHT_MOUSE_DRAGGED = 7;
inline constexpr int32_t NVET_SCROLL_WHEEL = 22;
inline constexpr int32_t NVET_TABLET_POINTER = 23;
inline constexpr int32_t NVET_TABLET_PROXIMITY = 24;
inline constexpr int32_t NVET_OTHER_MOUSE_DOWN = 25;
inline constexpr int32_t NVET_OTHER_MOUSE_UP = 26;
inline constexpr int32_t NVET_OTHER_MOUSE_DRAGGED = 27;

// Mouse buttons.
inline constexpr int32_t NVMB_LEFT = 0;
inline constexpr int32_t NVMB_RIGHT = 1;
inline constexpr int32_t NVMB_OTHER = 2;

// Mouse event subtypes; NVMST_NONE for events that carry none.
inline constexpr int32_t NVMST_NONE = -1;
inline constexpr int32_t NVMST_TABLET_POINT = 1;
inline constexpr int32_t NVMST_TABLET_PROXIMITY = 2;

// Modifier flags.
inline constexpr uint64_t NVMF_SHIFT = 0x20000;
inline constexpr uint64_t NVMF_CONTROL = 0x40000;
inline constexpr uint64_t NVMF_OPTION = 0x80000;
inline constexpr uint64_t NVMF_COMMAND = 0x100000;

// Virtual key codes of the modifier keys.
inline constexpr uint16_t NVKC_COMMAND = 55;
inline constexpr uint16_t NVKC_SHIFT = 56;
inline constexpr uint16_t NVKC_OPTION = 58;
inline constexpr uint16_t NVKC_CONTROL = 59;

// HID-system event types.
inline constexpr uint32_t NVHID_KEY_DOWN = 10;
inline constexpr uint32_t NVHID_KEY_UP = 11;
inline constexpr uint32_t NVHID_FLAGS_CHANGED = 12;

// Event field numbers.
inline constexpr uint32_t NVEF_MOUSE_EVENT_NUMBER = 0;
inline constexpr uint32_t NVEF_MOUSE_CLICK_STATE = 1;
inline constexpr uint32_t NVEF_MOUSE_PRESSURE = 2;
inline constexpr uint32_t NVEF_MOUSE_BUTTON_NUMBER = 3;
inline constexpr uint32_t NVEF_MOUSE_DELTA_X = 4;
inline constexpr uint32_t NVEF_MOUSE_DELTA_Y = 5;
inline constexpr uint32_t NVEF_TABLET_POINT_X = 15;
inline constexpr uint32_t NVEF_TABLET_POINT_Y = 16;
inline constexpr uint32_t NVEF_TABLET_POINT_Z = 17;
inline constexpr uint32_t NVEF_TABLET_POINTER_BUTTONS = 18;
inline constexpr uint32_t NVEF_TABLET_POINTER_PRESSURE = 19;
inline constexpr uint32_t NVEF_TABLET_TILT_X = 20;
inline constexpr uint32_t NVEF_TABLET_TILT_Y = 21;
inline constexpr uint32_t NVEF_TABLET_ROTATION = 22;
inline constexpr uint32_t NVEF_TABLET_TANGENTIAL_PRESSURE = 23;
inline constexpr uint32_t NVEF_TABLET_POINTER_DEVICE_ID = 24;
inline constexpr uint32_t NVEF_TABLET_VENDOR1 = 25;
inline constexpr uint32_t NVEF_TABLET_VENDOR2 = 26;
inline constexpr uint32_t NVEF_PROXIMITY_VENDOR_ID = 28;
inline constexpr uint32_t NVEF_PROXIMITY_TABLET_ID = 29;
inline constexpr uint32_t NVEF_PROXIMITY_POINTER_ID = 30;
inline constexpr uint32_t NVEF_PROXIMITY_DEVICE_ID = 31;
inline constexpr uint32_t NVEF_PROXIMITY_SYSTEM_TABLET_ID = 32;
inline constexpr uint32_t NVEF_PROXIMITY_VENDOR_POINTER_TYPE = 33;
inline constexpr uint32_t NVEF_PROXIMITY_VENDOR_POINTER_SERIAL = 34;
inline constexpr uint32_t NVEF_PROXIMITY_VENDOR_UNIQUE_ID = 35;
inline constexpr uint32_t NVEF_PROXIMITY_CAPABILITY_MASK = 36;
inline constexpr uint32_t NVEF_PROXIMITY_POINTER_TYPE = 37;
inline constexpr uint32_t NVEF_PROXIMITY_ENTER = 38;

// Pointer types of the proximity field NVEF_PROXIMITY_POINTER_TYPE.
inline constexpr int64_t NVPT_PEN = 1;
inline constexpr int64_t NVPT_ERASER = 3;

// One written field: integer fields keep an integer in i, double fields a double in d.
struct NVWSField {
    uint16_t number;
    bool isDouble;
    union {
        int64_t i;
        double d;
    };

    double asDouble() const { return isDouble ? d : static_cast<double>(i); }
};

// A window-system event, with every field in the order it was written.
struct NVWSEvent {
    static constexpr int kMaxFields = 24;

    int32_t type = NVET_NULL;
    bool hasLocation = false;       // mouse and scroll events are created at a location
    double x = 0.0;
    double y = 0.0;
    int32_t button = NVMB_LEFT;     // mouse events only
    int32_t subtype = NVMST_NONE;
    bool hasFlags = false;
    uint64_t flags = 0;
    int32_t wheel1 = 0;             // scroll events: pixels, positive is up
    int fieldCount = 0;
    NVWSField fields[kMaxFields] = {};

    // Back to a fresh event without clearing the field array: only fieldCount entries are
    // ever read, and zeroing 24 fields per event is a measurable share of the pen path.
    void reset()
    {
        type = NVET_NULL;
        hasLocation = false;
        x = y = 0.0;
        button = NVMB_LEFT;
        subtype = NVMST_NONE;
        hasFlags = false;
        flags = 0;
        wheel1 = 0;
        fieldCount = 0;
    }

    void setInt(uint32_t number, int64_t value);
    void setDouble(uint32_t number, double value);
    void setFlags(uint64_t f)
    {
        hasFlags = true;
        flags = f;
    }
    // The last value written to the field, or nullptr when it was never written.
    const NVWSField* field(uint32_t number) const
    {
        for (int k = fieldCount - 1; k >= 0; --k)
            if (fields[k].number == number)
                return &fields[k];
        return nullptr;
    }
};

// Appends fields to an event, the write position held in a register; the event's count
// is stored once, when the writer ends. Fields beyond kMaxFields are dropped.
class NVWSFieldWriter {
public:
    explicit NVWSFieldWriter(NVWSEvent& e) : e_(e), p_(e.fields + e.fieldCount) {}
    ~NVWSFieldWriter() { e_.fieldCount = static_cast<int>(p_ - e_.fields); }
    NVWSFieldWriter(const NVWSFieldWriter&) = delete;
    NVWSFieldWriter& operator=(const NVWSFieldWriter&) = delete;

    void setInt(uint32_t number, int64_t value)
    {
        if (NVWSField* f = next()) {
            f->number = static_cast<uint16_t>(number);
            f->isDouble = false;
            f->i = value;
        }
    }
    void setDouble(uint32_t number, double value)
    {
        if (NVWSField* f = next()) {
            f->number = static_cast<uint16_t>(number);
            f->isDouble = true;
            f->d = value;
        }
    }

private:
    NVWSField* next() { return p_ == e_.fields + NVWSEvent::kMaxFields ? nullptr : p_++; }

    NVWSEvent& e_;
    NVWSField* p_;
};

inline void NVWSEvent::setInt(uint32_t number, int64_t value) { NVWSFieldWriter(*this).setInt(number, value); }
inline void NVWSEvent::setDouble(uint32_t number, double value) { NVWSFieldWriter(*this).setDouble(number, value); }

// A HID-system event (keyboard keys and modifier flags).
struct NVHIDEvent {
    uint32_t type = NVHID_KEY_DOWN;
    double x = 0.0;
    double y = 0.0;
    uint16_t keyCode = 0;
    uint8_t repeat = 0;
    uint32_t version = 2;           // event-data version
    uint32_t eventFlags = 0;
    uint32_t options = 0;           // 1: set the global event flags
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual void postEvent(const NVWSEvent& event) = 0;
    // Posts through the keyboard connection `connect` returned by connectKeyboard.
    virtual void postHIDEvent(uint32_t connect, const NVHIDEvent& event) = 0;
    // Opens the keyboard connection: non-zero on success, 0 when there is none.
    virtual uint32_t connectKeyboard() = 0;
    virtual void disconnectKeyboard(uint32_t connect) = 0;
};
