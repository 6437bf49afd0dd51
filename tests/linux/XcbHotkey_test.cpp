// The global hotkey on a private X server: pressed through xdotool with and without the
// locks on, taken by another client, released and grabbed again.
#include "platform/linux/XcbHotkey.h"
#include "tests/linux/XvfbTestSupport.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <cstdlib>
#include <string>

namespace {

constexpr uint8_t kKeyH = 43; // evdev KEY_H + 8
constexpr uint16_t kControlSuper = 4 | 64;

class XcbHotkeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (x.display().empty() || !nvtest::on_path("xdotool"))
            GTEST_SKIP() << "needs Xvfb and xdotool";
    }
    bool xdotool(const std::string& args)
    {
        return std::system(("DISPLAY=" + x.display() + " xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
    }
    // Waits (boundedly) for events and says whether the hotkey was among them.
    static bool pressedWithin(XcbHotkey& h, int ms)
    {
        pollfd p{h.fd(), POLLIN, 0};
        for (int waited = 0; waited < ms; waited += 50) {
            if (h.takePresses())
                return true;
            poll(&p, 1, 50);
        }
        return h.takePresses();
    }

    nvtest::PrivateXvfb x;
};

} // namespace

TEST_F(XcbHotkeyTest, TheCombinationIsCaughtWhicheverLockIsOn)
{
    auto hotkey = XcbHotkey::connect(x.display().c_str());
    ASSERT_TRUE(hotkey);
    ASSERT_EQ(hotkey->grab(kKeyH, kControlSuper), XcbHotkey::Grab::Grabbed);
    ASSERT_TRUE(xdotool("key ctrl+super+h"));
    EXPECT_TRUE(pressedWithin(*hotkey, 3000));

    ASSERT_TRUE(xdotool("key ctrl+h"));
    EXPECT_FALSE(pressedWithin(*hotkey, 300)) << "another combination is not ours";

    ASSERT_TRUE(xdotool("key Num_Lock"));
    ASSERT_TRUE(xdotool("key ctrl+super+h"));
    EXPECT_TRUE(pressedWithin(*hotkey, 3000)) << "Num Lock on";
    ASSERT_TRUE(xdotool("key Num_Lock"));

    hotkey->ungrab();
    EXPECT_FALSE(hotkey->grabbed());
    ASSERT_TRUE(xdotool("key ctrl+super+h"));
    EXPECT_FALSE(pressedWithin(*hotkey, 300)) << "released";
}

TEST_F(XcbHotkeyTest, ACombinationAnotherClientHoldsIsTakenAndLeavesNothingGrabbed)
{
    auto other = XcbHotkey::connect(x.display().c_str());
    auto ours = XcbHotkey::connect(x.display().c_str());
    ASSERT_TRUE(other && ours);
    ASSERT_EQ(other->grab(kKeyH, kControlSuper), XcbHotkey::Grab::Grabbed);

    EXPECT_EQ(ours->probe(kKeyH, kControlSuper), XcbHotkey::Grab::Taken);
    EXPECT_EQ(ours->grab(kKeyH, kControlSuper), XcbHotkey::Grab::Taken);
    EXPECT_FALSE(ours->grabbed());
    EXPECT_EQ(ours->probe(kKeyH, 4), XcbHotkey::Grab::Grabbed) << "control+h alone is free";

    ASSERT_TRUE(xdotool("key ctrl+super+h"));
    EXPECT_TRUE(pressedWithin(*other, 3000)) << "the holder still gets its key";

    other.reset(); // its grabs go with its connection
    EXPECT_EQ(ours->grab(kKeyH, kControlSuper), XcbHotkey::Grab::Grabbed);
    EXPECT_EQ(ours->probe(kKeyH, kControlSuper), XcbHotkey::Grab::Grabbed) << "our own grab is not taken";
    EXPECT_TRUE(ours->grabbed());
}

TEST(XcbHotkey, NoServerNoConnection)
{
    EXPECT_EQ(XcbHotkey::connect(":4321"), nullptr);
}
