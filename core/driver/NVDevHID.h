// The HID layer of the connected tablet: holds every HID interface of the maker's
// devices exclusively, hands each 12-byte input report to the tablet's report dispatcher,
// opens the keyboard connection and keeps the screen mapping in step with the displays.
#pragma once

#include "core/driver/NVDevServices.h"
#include "core/driver/UsbBus.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class NVDataHandler;

class NVDevHID {
public:
    // Creates the report dispatcher with its own channel to the settings application.
    explicit NVDevHID(const NVDevServices& services);
    // Closes the HID manager if it is still open; the keyboard connection stays.
    ~NVDevHID();
    NVDevHID(const NVDevHID&) = delete;
    NVDevHID& operator=(const NVDevHID&) = delete;

    // Checks trust, opens the keyboard connection and seizes the interfaces. Failures
    // are logged and the layer stays in place; always true.
    bool listen();
    // Replaces g_gi.hidConnect with a new keyboard connection: 0 on success, else an error.
    int OpenHIDService();
    // Closes g_gi.hidConnect if open and sets it to 0; 0 when none was open.
    int CloseHIDService();
    // Stops the reports and releases the interfaces; the keyboard connection stays open.
    void close();

    NVDataHandler& handler() { return *handler_; }

private:
    void callback_hid_insert(HidInterfaceRef ref);
    void callback_hid_remove(HidInterfaceRef ref);
    void callback_hid_report(const uint8_t* report, size_t length);
    void display_callback();

    NVDevServices services_;
    std::unique_ptr<NVDataHandler> handler_;
    std::unique_ptr<HidManager> hidManager_;
    // Interfaces reported inserted and not yet removed; the display handler is set while
    // there is at least one.
    int interfaces_ = 0;
};
