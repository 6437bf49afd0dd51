#include "core/driver/UsbTransferRecovery.h"

#include <gtest/gtest.h>

using Action = UsbTransferRecovery::Action;

TEST(UsbTransferRecovery, PausesGrowUntilTheBoundThenTheDeviceIsGivenUp)
{
    NVLogCapture log;
    UsbTransferRecovery r;
    double pause = 0;
    for (int i = 0; i < UsbTransferRecovery::kRetries; ++i) {
        const auto step = r.failed(i == 2 ? UsbTransferError::Stall : UsbTransferError::Error, 1);
        ASSERT_EQ(step.action, Action::Resubmit);
        EXPECT_EQ(step.clearHalt, i == 2);
        EXPECT_GT(step.pauseSeconds, pause);
        pause = step.pauseSeconds;
        // A timeout within the run neither counts nor waits.
        EXPECT_EQ(r.failed(UsbTransferError::Timeout, 1).pauseSeconds, 0);
    }
    EXPECT_LE(pause, 1.0) << "a tablet that recovers is read again within a second";
    EXPECT_EQ(r.failed(UsbTransferError::Error, 1).action, Action::GiveUp);
    EXPECT_EQ(log.lines().size(), 2u) << "one line when the run starts, one on giving up";

    r.succeeded();
    const auto fresh = r.failed(UsbTransferError::Overflow, 1);
    EXPECT_EQ(fresh.action, Action::Resubmit);
    EXPECT_DOUBLE_EQ(fresh.pauseSeconds, UsbTransferRecovery::kFirstPause);
    EXPECT_EQ(r.failed(UsbTransferError::NoDevice, 1).action, Action::Stop);
}
