// A scripted USB bus: devices with their string descriptors are attached and detached at
// will and their reports injected. Tests, replay and the agent's --simulate use it.
// Every scripted device is reported, whatever its vendor, as a bus whose matching let a
// foreign device through.
#pragma once

#include "core/driver/UsbBus.h"

#include <map>
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
    // Makes a later listen fail.
    void setListenFails(bool fails) { listenFails_ = fails; }

    int listenCount() const { return listenCount_; }
    // Devices currently open through UsbDevice::open.
    int openDevices() const;
    bool hidOpen() const;

    class Device;
    class Hid;

private:
    std::map<int, std::shared_ptr<Device>> devices_;
    DeviceHandler arrived_;
    DeviceHandler removed_;
    std::vector<Hid*> hids_;
    int nextId_ = 1;
    int listenCount_ = 0;
    bool listenFails_ = false;
};

// Descriptor payload of a text string (UTF-16LE of an ASCII/UTF-8 text's code units).
std::vector<uint8_t> nv_utf16le_payload(const std::string& text);
