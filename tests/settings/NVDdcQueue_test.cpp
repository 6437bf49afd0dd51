// One display's requests on their own thread: in order, one at a time, drags coalesced.
#include "settings/logic/NVDdcQueue.h"

#include "tests/settings/FakeDdcMonitor.h"

#include <gtest/gtest.h>

#include <future>

using nvtest::FakeDdcMonitor;
using Set = FakeDdcMonitor::Set;

TEST(NVDdcQueue, ASliderDragSendsItsLatestValueAndReadsKeepTheirOrder)
{
    FakeDdcMonitor monitor;
    NVDdcQueue queue(monitor.port());
    monitor.hold();
    queue.set(NVVCP_BRIGHTNESS, 10);
    monitor.waitHeld(); // the first write is on the bus
    for (uint8_t v = 11; v <= 30; ++v)
        queue.set(NVVCP_BRIGHTNESS, v);
    queue.set(NVVCP_CONTRAST, 70);
    queue.set(NVVCP_CONTRAST, 71);
    std::promise<NVDdcResult> read;
    queue.get(NVVCP_BRIGHTNESS, [&](const NVDdcResult& r) { read.set_value(r); });
    std::promise<bool> lastSet;
    queue.set(NVVCP_BRIGHTNESS, 31, [&](bool ok) { lastSet.set_value(ok); });
    monitor.release();

    const NVDdcResult r = read.get_future().get();
    EXPECT_TRUE(lastSet.get_future().get());
    EXPECT_EQ(r.status, NVDdcStatus::Ok);
    EXPECT_EQ(r.currentValue, 30) << "the read sees the drag's last step, the set asked after it comes after it";
    EXPECT_EQ(monitor.sets(), (std::vector<Set>{{NVVCP_BRIGHTNESS, 10},
                                                {NVVCP_BRIGHTNESS, 30},
                                                {NVVCP_CONTRAST, 71},
                                                {NVVCP_BRIGHTNESS, 31}}));
    EXPECT_EQ(monitor.busyRefusals(), 0);
}

TEST(NVDdcQueue, AMonitorThatNeverAnswersEndsEveryRequestAndTheQueueStillStops)
{
    FakeDdcMonitor monitor;
    monitor.fault = FakeDdcMonitor::Fault::Silent;
    std::promise<NVDdcResult> read;
    std::promise<bool> set;
    std::thread releaser;
    {
        NVDdcQueue queue(monitor.port());
        queue.set(NVVCP_CONTRAST, 5, [&](bool ok) { set.set_value(ok); });
        queue.get(NVVCP_CONTRAST, [&](const NVDdcResult& r) { read.set_value(r); });
        EXPECT_FALSE(set.get_future().get());
        EXPECT_EQ(read.get_future().get().status, NVDdcStatus::NoAnswer);

        // The queue goes while a request hangs on the bus and others wait: it waits for
        // the one under way and does not hang on the rest.
        monitor.hold();
        queue.set(NVVCP_BRIGHTNESS, 1);
        monitor.waitHeld();
        queue.set(NVVCP_CONTRAST, 2);
        queue.get(NVVCP_CONTRAST, [](const NVDdcResult&) {});
        releaser = std::thread([&] { monitor.release(); });
    }
    releaser.join();
}
