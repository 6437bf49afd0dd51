// What a HID interface's reader does after a transfer that brought no report, the same on
// every bus. Consecutive failures are retried after a pause that doubles each time, a stall
// clears the endpoint's halt first, and past the bound the device counts as unusable. A
// timeout is no fault of the device; a device that is gone is not retried, its removal
// follows. Each run of failures is logged once, when it starts, and once more on giving up.
#pragma once

#include "core/driver/UsbBus.h"
#include "core/log/NVLog.h"

class UsbTransferRecovery {
public:
    static constexpr int kRetries = 5;
    static constexpr double kFirstPause = 0.05;

    enum class Action { Resubmit, Stop, GiveUp };
    struct Step {
        Action action;
        bool clearHalt;
        double pauseSeconds;
    };

    Step failed(UsbTransferError error, int interfaceNumber)
    {
        switch (error) {
        case UsbTransferError::Timeout:
            return {Action::Resubmit, false, 0};
        case UsbTransferError::NoDevice:
            nv_log("USB transfer on interface %d: the device is gone", interfaceNumber);
            return {Action::Stop, false, 0};
        default:
            break;
        }
        if (failures_ == kRetries) {
            nv_log("USB transfer on interface %d still fails after %d retries: the tablet is treated as unplugged",
                   interfaceNumber, kRetries);
            return {Action::GiveUp, false, 0};
        }
        if (failures_ == 0)
            nv_log("USB transfer on interface %d failed (%s): retrying", interfaceNumber, name(error));
        const double pause = kFirstPause * (1 << failures_);
        ++failures_;
        return {Action::Resubmit, error == UsbTransferError::Stall, pause};
    }
    void succeeded() { failures_ = 0; }

private:
    static const char* name(UsbTransferError error)
    {
        switch (error) {
        case UsbTransferError::Stall:
            return "stall";
        case UsbTransferError::Overflow:
            return "overflow";
        default:
            return "error";
        }
    }

    int failures_ = 0;
};
