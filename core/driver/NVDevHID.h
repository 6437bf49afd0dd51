// The HID layer of the connected tablet: holds every HID interface of the maker's
// devices exclusively, hands each 12-byte input report to the tablet's report dispatcher,
// opens the keyboard connection and keeps the screen mapping in step with the displays.
#pragma once

#include "core/driver/NVDevServices.h"
#include "core/driver/UsbBus.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class NVDataHandler;

class NVDevHID {
public:
    // Creates the report dispatcher with its own channel to the settings application.
    // unusable runs on the loop when the tablet's transfers keep failing past every retry.
    explicit NVDevHID(const NVDevServices& services, std::function<void()> unusable = {});
    // Closes the HID manager if it is still open (the release completes on its own); the
    // keyboard connection stays.
    ~NVDevHID();
    NVDevHID(const NVDevHID&) = delete;
    NVDevHID& operator=(const NVDevHID&) = delete;

    // Checks trust, opens the keyboard connection and seizes the HID interfaces of device.
    // Failures are logged and the layer stays in place; always true.
    bool listen(UsbDevice& device);
    // Replaces g_gi.hidConnect with a new keyboard connection: 0 on success, else an error.
    int OpenHIDService();
    // Closes g_gi.hidConnect if open and sets it to 0; 0 when none was open.
    int CloseHIDService();
    // Stops the reports and gives the interfaces back; released runs on the loop once that
    // is complete. The keyboard connection stays open.
    void close(std::function<void()> released = {});
    // Stops the reports and gives the interfaces back now, waiting at most `seconds`, also
    // completing an earlier close. True when everything was given back.
    bool closeWithin(double seconds);
    // Listening and not closed since.
    bool isOpen() const { return open_; }

    NVDataHandler& handler() { return *handler_; }

private:
    void callback_hid_insert(HidInterfaceRef ref);
    void callback_hid_remove(HidInterfaceRef ref);
    void callback_hid_report(const uint8_t* report, size_t length);
    void display_callback();
    void stopFollowingDisplays();

    NVDevServices services_;
    std::unique_ptr<NVDataHandler> handler_;
    std::function<void()> unusable_;
    // Kept while a release is under way: destroying it drops the release's callback.
    std::unique_ptr<HidManager> hidManager_;
    bool open_ = false;
    // Interfaces reported inserted and not yet removed; the display handler is set while
    // there is at least one.
    int interfaces_ = 0;
};
