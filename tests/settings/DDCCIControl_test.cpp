// The monitor page's displays: titles, the current one, and requests without one.
#include "settings/logic/DDCCIControl.h"

#include "tests/settings/FakeDdcMonitor.h"

#include <gtest/gtest.h>

#include <future>

namespace {

class TwoDisplays : public NVDdcDisplaySource {
public:
    std::vector<DDCDisplay> list{{0, 3, "NV Display 27", "SN1"}, {1, -1, "Other", ""}};
    nvtest::FakeDdcMonitor monitor;
    int opened = 0;
    std::vector<DDCDisplay> displays() override { return list; }
    std::unique_ptr<NVI2cPort> open(const DDCDisplay& d) override
    {
        ++opened;
        return d.bus == 3 ? monitor.port() : nullptr;
    }
};

} // namespace

TEST(DDCCIControl, TitlesKeysAndRequestsGoToTheCurrentDisplayOnly)
{
    EXPECT_EQ(nv_display_chooser_title(1, "NV Display 27"), "1:NV Display 27");
    EXPECT_EQ(nv_continuous_effects_key("SN1"), "ContinuousEffectsSN1");

    TwoDisplays source;
    DDCCIControl control(source);
    EXPECT_EQ(control.getDisplays(), 2);
    EXPECT_EQ(control.getDisplays(), 4) << "it appends";
    EXPECT_EQ(control.getCurrentDisplay(), nullptr);
    EXPECT_FALSE(control.write(NVVCP_BRIGHTNESS, 1)) << "no current display: nothing is sent";
    EXPECT_FALSE(control.read(NVVCP_BRIGHTNESS, [](const NVDdcResult&) { ADD_FAILURE(); }));
    EXPECT_EQ(source.opened, 0);

    control.currentDisplayID = 0;
    std::promise<NVDdcResult> read;
    ASSERT_TRUE(control.write(NVVCP_BRIGHTNESS, 77));
    ASSERT_TRUE(control.read(NVVCP_BRIGHTNESS, [&](const NVDdcResult& r) { read.set_value(r); }));
    EXPECT_EQ(read.get_future().get().currentValue, 77);

    // A display whose bus does not open answers nothing, without blocking anyone.
    control.currentDisplayID = 1;
    std::promise<NVDdcResult> silent;
    ASSERT_TRUE(control.read(NVVCP_BRIGHTNESS, [&](const NVDdcResult& r) { silent.set_value(r); }));
    EXPECT_EQ(silent.get_future().get().status, NVDdcStatus::NoAnswer);
    control.currentDisplayID = 0;
    std::promise<bool> reset;
    ASSERT_TRUE(control.reset([&](bool ok) { reset.set_value(ok); }));
    EXPECT_TRUE(reset.get_future().get());
    EXPECT_EQ(source.opened, 2) << "one bus per display, opened once";
}
