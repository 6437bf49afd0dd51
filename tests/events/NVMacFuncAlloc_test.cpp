// Posting on the pen path must not touch the heap.
#include "tests/events/AllocCounter.h"
#include "tests/events/EventsTestSupport.h"

namespace {

class DiscardingWindowSystem : public WindowSystem {
public:
    void postEvent(const NVWSEvent& e) override { fields += e.fieldCount; }
    void postHIDEvent(uint32_t, const NVHIDEvent&) override {}
    uint32_t connectKeyboard() override { return 1; }
    void disconnectKeyboard(uint32_t) override {}
    int fields = 0;
};

TEST_F(MacFuncTest, PenEventsPostWithoutAllocating)
{
    DiscardingWindowSystem sink;
    NVMacFunc::setWindowSystem(&sink);
    NVMacPenData last = pen(1, 1);
    const size_t before = nvtest::allocation_count();
    for (int i = 0; i < 100; ++i) {
        const NVMacPenData p = pen(i, i, 100u * static_cast<uint32_t>(i), 3, -3);
        NVMacFunc::sendTabletProximityEvent(p, 1, true);
        NVMacFunc::sendMouseProximityEvent(NVET_LEFT_MOUSE_DRAGGED, p, last, 1, true);
        NVMacFunc::sendTabletPointerEvent(p, 1);
        NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DRAGGED, 0, p, last, 1);
        NVMacFunc::sendScrollWheel(0, 30);
        EXPECT_TRUE(NVMacFunc::inqueryActiveWindow().empty());
        last = p;
    }
    EXPECT_EQ(nvtest::allocation_count(), before);
    EXPECT_GT(sink.fields, 0);
}

} // namespace
