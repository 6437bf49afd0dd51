// A scripted USB bus: devices with their string descriptors are attached and detached at
// will and their reports injected. Tests, replay and the agent's --simulate use it.
// Every scripted device is reported, whatever its vendor, as a bus whose matching let a
// foreign device through. HID interfaces follow the kernel's rules: an interface claimed
// on another handle is BUSY; a release completes later on the loop (pump), as cancelled
// transfers do; only a proper release gives the interface back to the kernel's driver.
#pragma once

#include "core/driver/UsbBus.h"

#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct NVModelInfo;

struct SimDeviceScript {
    uint16_t vendor = NV_USB_VENDOR;
    uint16_t product = 1;
    // Descriptor payloads (the bytes after the two-byte header) by string index.
    std::map<uint8_t, std::vector<uint8_t>> strings;
    // String indices whose request fails.
    std::vector<uint8_t> failingStrings;
    int openError = 0;
    int hidInterfaces = 1;
    bool heldElsewhere = false; // another program holds the HID interfaces
    // Cancelled transfers never come back: a release never completes.
    bool releaseHangs = false;
    // Every transfer on its HID interfaces ends with this error, on the loop, instead of
    // bringing a report.
    std::optional<UsbTransferError> failingTransfers;

    // A tablet of the model: identity (201), information block (200), battery (209).
    static SimDeviceScript forModel(const NVModelInfo& model, uint8_t battery = 80);
};

class SimUsbBus : public UsbBus {
public:
    SimUsbBus();
    ~SimUsbBus() override;

    bool listen(uint16_t vendor, DeviceHandler arrived, DeviceHandler removed) override;
    std::unique_ptr<HidManager> createHidManager() override;

    // Attaches a device (announced at once when armed); returns its id.
    int attach(SimDeviceScript script);
    void detach(int id);
    // Delivers report bytes from HID interface `interfaceNumber` of device id, when a
    // HID layer holds it.
    void sendReport(int id, const uint8_t* bytes, size_t length, int interfaceNumber = 0);
    // Ends the transfer in flight on HID interface `interfaceNumber` of device id with error;
    // what the layer does about it runs on the loop.
    void failTransfer(int id, UsbTransferError error, int interfaceNumber = 0);
    // Runs what waits on the loop (completed releases, resubmissions, give-ups) round by
    // round, what a round queues running in the next, until nothing is left or after
    // `rounds` rounds; returns how many ran.
    int pump(int rounds = std::numeric_limits<int>::max());
    // Called when something starts waiting for pump, so that a loop can run it soon.
    void setWake(std::function<void()> wake) { wake_ = std::move(wake); }
    // Makes a later listen fail.
    void setListenFails(bool fails) { listenFails_ = fails; }

    int listenCount() const { return listenCount_; }
    // Devices currently open through UsbDevice::open.
    int openDevices() const;
    // Some HID layer claims an interface of an attached device.
    bool hidOpen() const;
    // The kernel's own driver is bound to HID interface `interfaceNumber` of device id.
    bool kernelDriverAttached(int id, int interfaceNumber = 0) const;
    // Halts cleared on device id's endpoints.
    int clearedHalts(int id) const;

    class Device;
    class Hid;

private:
    void defer(std::function<void()> work);

    std::map<int, std::shared_ptr<Device>> devices_;
    DeviceHandler arrived_;
    DeviceHandler removed_;
    std::vector<Hid*> hids_;
    std::vector<std::function<void()>> deferred_;
    std::function<void()> wake_;
    int nextId_ = 1;
    int nextHandle_ = 1;
    int listenCount_ = 0;
    bool listenFails_ = false;
};

// Descriptor payload of a text string (UTF-16LE of an ASCII/UTF-8 text's code units).
std::vector<uint8_t> nv_utf16le_payload(const std::string& text);
