// The three virtual input devices (pen, pointer, keyboard): their descriptions, which
// tests check without a kernel, and their creation through /dev/uinput.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct libevdev;
struct libevdev_uinput;

inline constexpr int32_t NV_UINPUT_ABS_MAX = (1 << 20) - 1;
inline constexpr int32_t NV_UINPUT_PRESSURE_MAX = 65535;
inline constexpr int32_t NV_UINPUT_TILT_MAX = 90;          // degrees
inline constexpr uint16_t NV_UINPUT_VENDOR = 0x3A7E;

struct NVEvdevFree {
    void operator()(libevdev* dev) const;
};
using NVEvdevPtr = std::unique_ptr<libevdev, NVEvdevFree>;

NVEvdevPtr nv_uinput_pen_description();
NVEvdevPtr nv_uinput_pointer_description();
NVEvdevPtr nv_uinput_keyboard_description();

// The pen device's name, by which the desktop lists it.
inline constexpr const char* nvUinputPenName = "Nuvro Tablet Pen";

// True when path (the uinput node) can be opened for writing: the agent's trust check.
bool nv_uinput_available(const char* path = "/dev/uinput");

class UinputDevices {
public:
    // Creates the three devices; nullptr, with one log line, when path is missing or not
    // writable or the kernel refuses a device.
    static std::unique_ptr<UinputDevices> create(const char* path = "/dev/uinput");
    ~UinputDevices();
    UinputDevices(const UinputDevices&) = delete;
    UinputDevices& operator=(const UinputDevices&) = delete;

    int penFd() const;
    int pointerFd() const;
    int keyboardFd() const;
    // The event nodes (/dev/input/eventN), where the kernel reports them.
    std::string penNode() const;
    std::string pointerNode() const;
    std::string keyboardNode() const;

private:
    UinputDevices() = default;

    libevdev_uinput* pen_ = nullptr;
    libevdev_uinput* pointer_ = nullptr;
    libevdev_uinput* keyboard_ = nullptr;
};
