// Ports to the tablet on the USB bus: the bus (arrival, removal, string descriptors) and
// the HID layer (exclusive open, 12-byte input reports). All callbacks arrive on the one
// main loop, never inside the USB library's own callbacks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

constexpr uint16_t NV_USB_VENDOR = 0x3A7E;
constexpr int NV_USB_STRING_BUFFER = 256;
constexpr uint16_t NV_USB_LANG_EN_US = 0x0409;

// An attached USB device, as the bus reported it.
class UsbDevice {
public:
    virtual ~UsbDevice() = default;
    virtual uint16_t vendorId() const = 0;
    virtual uint16_t productId() const = 0;
    // A short description for log lines.
    virtual uint32_t logId() const = 0;
    // 0 on success, else an error code for the log.
    virtual int open() = 0;
    virtual void close() = 0;
    // GET_DESCRIPTOR of string `index` (language 0x0409) into a zero-filled buffer of
    // NV_USB_STRING_BUFFER bytes; false when the request fails or the device is closed.
    virtual bool readStringDescriptor(uint8_t index, uint8_t* buffer) = 0;
};

using UsbDeviceRef = std::shared_ptr<UsbDevice>;

// One HID interface of a device, as the HID layer reports it.
struct HidInterfaceRef {
    const UsbDevice* device;
    int interfaceNumber;
};

// The HID layer: every HID interface of the vendor's devices, held exclusively.
class HidManager {
public:
    // The low 16 bits of the open result when another client holds the interfaces.
    static constexpr uint32_t kExclusiveAccessError = 0x2C5;

    struct Callbacks {
        std::function<void(HidInterfaceRef)> inserted;
        std::function<void(HidInterfaceRef)> removed;
        // Bytes and length exactly as the interface delivered them.
        std::function<void(HidInterfaceRef, const uint8_t* report, size_t length)> report;
    };

    virtual ~HidManager() = default;
    // Matches, seizes and starts reading; interfaces already present are reported as
    // inserted before it returns. 0 on success, else an error code.
    virtual uint32_t open(uint16_t vendor, Callbacks callbacks) = 0;
    // Stops reading and releases the interfaces.
    virtual void close() = 0;
};

class UsbBus {
public:
    // Devices that arrived or left together: the ones already attached when the bus is
    // armed come as one batch, later ones one by one.
    using DeviceHandler = std::function<void(const std::vector<UsbDeviceRef>&)>;

    virtual ~UsbBus() = default;
    // Arms arrival and removal notifications for the vendor's devices. Devices already
    // attached arrive before it returns. Arming again replaces the previous arming, and
    // the devices still attached arrive again. False when arming failed.
    virtual bool listen(uint16_t vendor, DeviceHandler arrived, DeviceHandler removed) = 0;
    virtual std::unique_ptr<HidManager> createHidManager() = 0;
};
