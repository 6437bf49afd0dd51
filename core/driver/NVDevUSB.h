// The USB watcher of the agent: identifies a tablet of the maker's vendor when it
// arrives, loads its configuration and layout, announces it and opens its HID layer; on
// removal saves, closes, clears and announces, then arms itself again. It also answers
// the battery query.
#pragma once

#include "core/driver/NVDevHID.h"
#include "core/driver/NVDevServices.h"
#include "core/driver/UsbBus.h"

#include "core/model/NVTypes.h"

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

class NVNotificationDriverPeer;

class NVDevUSB {
public:
    // Creates the watcher's notification peer and observes "QueryBatteryPower".
    explicit NVDevUSB(const NVDevServices& services);
    ~NVDevUSB();
    NVDevUSB(const NVDevUSB&) = delete;
    NVDevUSB& operator=(const NVDevUSB&) = delete;

    // Arms the watcher; tablets already attached are handled before it returns.
    // false when armed, true when arming failed.
    bool listen();
    // For the end of the process: what is held is released, the configuration saved and
    // the tablet given back to the system (its transfers reaped within a bounded wait,
    // its interfaces released, the device closed).
    void close();
    // Reads the level and posts it as "QueryBatteryPowerForUI"; returns the level.
    int queryBatteryPowerFromUI();
    // The level from string 209 of the current tablet; 0 without one or when the read fails.
    int queryBatteryPower();

    // The HID layer of the current tablet; null without one. It claims the tablet only once
    // every earlier layer has given its interfaces back.
    NVDevHID* hid() const { return hid_.get(); }

private:
    void callback_usb_insert(const std::vector<UsbDeviceRef>& devices);
    void callback_usb_remove(const std::vector<UsbDeviceRef>& devices);
    // The removal steps: save, release the layer, clear the record and announce it.
    void forgetTablet();
    // The tablet's transfers kept failing: handled as its removal, then armed again with
    // the device left alone until it leaves the bus.
    void tabletUnusable();
    // Releases what the current layer holds and lets it give its interfaces back.
    void retireHid();
    void hidReleased(const NVDevHID* layer);
    // Opens the current layer once no earlier one holds interfaces any more.
    void openHidWhenFree();
    // Keeps dev open as the current tablet (for the battery query), closing the previous one.
    void setCurrentDevice(UsbDeviceRef dev);

    NVDevServices services_;
    std::unique_ptr<NVDevHID> hid_;
    // Earlier layers whose release is still under way.
    std::vector<std::unique_ptr<NVDevHID>> retiring_;
    bool hidWaiting_ = false;
    std::unique_ptr<NVNotificationDriverPeer> notification_;
    UsbDeviceRef usbDevice_;
    // Tablets given up on, by logId: adopting one again while it stays attached would only
    // fail again, save and announce once more, over and over.
    std::set<uint32_t> givenUp_;
    uint64_t batteryToken_ = 0;
};
