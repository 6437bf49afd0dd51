// The USB bus as the session recording sees it: every tablet that arrives (its ids and
// the identity strings the watcher read), every report of its HID interfaces and every
// unplug is written down, then handed on unchanged.
#pragma once

#include "core/driver/UsbBus.h"

#include <functional>
#include <map>
#include <memory>

class NVRecordingWriter;

class RecordingUsbBus : public UsbBus {
public:
    // now: seconds since the start of the session. inner and writer must outlive the bus.
    RecordingUsbBus(UsbBus& inner, NVRecordingWriter& writer, std::function<double()> now);
    ~RecordingUsbBus() override;

    bool listen(uint16_t vendor, DeviceHandler arrived, DeviceHandler removed) override;
    std::unique_ptr<HidManager> createHidManager() override;

private:
    class Device;
    class Hid;

    void arrived(const std::vector<UsbDeviceRef>& devices, const DeviceHandler& next);
    void removed(const std::vector<UsbDeviceRef>& devices, const DeviceHandler& next);

    UsbBus& inner_;
    NVRecordingWriter& writer_;
    std::function<double()> now_;
    // The watcher sees the same wrapper for a device at its arrival and its removal.
    std::map<const UsbDevice*, std::shared_ptr<Device>> devices_;
};
