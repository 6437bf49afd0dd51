// The tablet on the real USB bus through libusb: hotplug arrival and removal, string
// descriptors, and the HID interfaces claimed exclusively (the kernel driver detached)
// with 12-byte interrupt reports. libusb's file descriptors are watched by the Qt main
// loop, so every callback runs on the one main thread.
#pragma once

#include "core/driver/UsbBus.h"

#include <map>
#include <memory>
#include <vector>

#include <libusb.h>

class QSocketNotifier;
class QTimer;
class LibusbHid;

class LibusbBus : public UsbBus {
public:
    // Null when libusb cannot start (the reason is logged).
    static std::unique_ptr<LibusbBus> create();
    ~LibusbBus() override;

    bool listen(uint16_t vendor, DeviceHandler arrived, DeviceHandler removed) override;
    std::unique_ptr<HidManager> createHidManager() override;

    // Devices of the armed vendor now attached.
    std::vector<UsbDeviceRef> attached() const;
    // The interrupt transfer's buffer for an endpoint of that wMaxPacketSize (0: undeclared).
    static size_t reportBufferSize(int maxPacketSize);

private:
    explicit LibusbBus(libusb_context* ctx);
    static int hotplugCallback(libusb_context*, libusb_device*, libusb_hotplug_event event, void* self);
    static void pollfdAdded(int fd, short events, void* self);
    static void pollfdRemoved(int fd, void* self);

    void watchFd(int fd, short events);
    void handleEvents();
    void deliverPending();

    friend class LibusbHid;

    libusb_context* ctx_;
    int hotplugHandle_ = 0;
    bool armed_ = false;
    unsigned arming_ = 0; // counts the armings, so a delivery can tell it was re-armed
    DeviceHandler arrived_;
    DeviceHandler removed_;
    std::map<libusb_device*, UsbDeviceRef> devices_;
    // Hotplug events noted inside libusb's callback, handled once it has returned.
    std::vector<std::pair<libusb_device*, bool>> pending_;
    std::map<int, std::vector<std::unique_ptr<QSocketNotifier>>> notifiers_;
    std::vector<LibusbHid*> hids_;
    std::unique_ptr<QTimer> timeoutTimer_;
};
