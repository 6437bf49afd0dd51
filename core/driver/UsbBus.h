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
    // A short description for log lines. It also tells the attached devices apart: unique
    // among them, and the same each time the bus reports the device while it stays attached.
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

// How an interrupt transfer ended when it brought no report.
enum class UsbTransferError { Error, Stall, Overflow, Timeout, NoDevice };

// The HID layer's hold on one device: its HID interfaces claimed exclusively on a handle of
// its own (the kernel driver detached), one interrupt transfer each kept in flight.
// Devices that arrive later are never taken in.
class HidManager {
public:
    // The low 16 bits of the open result when another handle holds the interfaces.
    static constexpr uint32_t kExclusiveAccessError = 0x2C5;

    struct Callbacks {
        std::function<void(HidInterfaceRef)> inserted;
        std::function<void(HidInterfaceRef)> removed;
        // Bytes and length exactly as the interface delivered them.
        std::function<void(HidInterfaceRef, const uint8_t* report, size_t length)> report;
        // Transfers kept failing past every retry: the device is unusable and nothing more
        // comes from it. Runs on the loop, never inside the USB library's own callbacks.
        std::function<void(HidInterfaceRef)> failed;
    };

    // Destroying a manager that is not released yet drops its `released` callback; the
    // release still completes on its own.
    virtual ~HidManager() = default;
    // Claims every HID interface of device and starts reading; interfaces are reported as
    // inserted before it returns. 0 on success, else an error code.
    virtual uint32_t open(UsbDevice& device, Callbacks callbacks) = 0;
    // Stops reading and gives the device back: transfers cancelled and reaped, interfaces
    // released (the kernel driver re-attached where it was detached), the handle closed.
    // That completes later on the loop, where `released` then runs; never inside close.
    virtual void close(std::function<void()> released) = 0;
    // Closes and completes the release now, waiting at most `seconds` for cancelled
    // transfers to come back. True when everything was given back. For shutting down.
    virtual bool closeWithin(double seconds) = 0;
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
