// The X server's keymap on a private server: a new layout set with setxkbmap and a group
// locked by another client are both heard, and the keymap read names the keys anew.
#include "platform/linux/XkbKeymap.h"
#include "tests/linux/XkbTestSupport.h"
#include "tests/linux/XvfbTestSupport.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <xkbcommon/xkbcommon.h>

#include <string>

namespace {

constexpr uint32_t kKeyY = 21 + 8; // evdev KEY_Y as X numbers it

class XkbKeymapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (x.display().empty() || !nvtest::on_path("setxkbmap"))
            GTEST_SKIP() << "needs Xvfb and setxkbmap";
    }
    bool setxkbmap(const std::string& args) { return nvtest::setxkbmap(x.display(), args); }
    // Waits (boundedly) until a change is heard.
    static bool changedWithin(XkbKeymap& k, int ms)
    {
        pollfd p{k.fd(), POLLIN, 0};
        for (int waited = 0; waited < ms; waited += 50) {
            if (k.takeChanges())
                return true;
            poll(&p, 1, 50);
        }
        return k.takeChanges();
    }
    // What the key types with no modifier in the group in force.
    static xkb_keysym_t symOf(const XkbKeymap& k, uint32_t key)
    {
        const xkb_keysym_t* syms = nullptr;
        return xkb_keymap_key_get_syms_by_level(k.keymap(), key, k.group(), 0, &syms) == 1 ? syms[0] : 0;
    }
    bool lockGroup(uint8_t group) { return nvtest::lock_xkb_group(x.display(), group); }

    nvtest::PrivateXvfb x;
};

} // namespace

TEST_F(XkbKeymapTest, ANewLayoutIsHeardAndRenamesTheKeys)
{
    ASSERT_TRUE(setxkbmap("-layout us"));
    auto k = XkbKeymap::connect(x.display().c_str());
    ASSERT_TRUE(k);
    EXPECT_EQ(symOf(*k, kKeyY), XKB_KEY_y);

    ASSERT_TRUE(setxkbmap("-layout de"));
    ASSERT_TRUE(changedWithin(*k, 5000));
    EXPECT_EQ(symOf(*k, kKeyY), XKB_KEY_z);
    EXPECT_STREQ(xkb_keymap_layout_get_name(k->keymap(), k->group()), "German");

    ASSERT_TRUE(setxkbmap("-layout us"));
    ASSERT_TRUE(changedWithin(*k, 5000));
    EXPECT_EQ(symOf(*k, kKeyY), XKB_KEY_y);
}

TEST_F(XkbKeymapTest, AGroupLockedByAnotherClientIsHeard)
{
    ASSERT_TRUE(setxkbmap("-layout us,de"));
    auto k = XkbKeymap::connect(x.display().c_str());
    ASSERT_TRUE(k);
    ASSERT_EQ(xkb_keymap_num_layouts(k->keymap()), 2u);
    EXPECT_EQ(k->group(), 0u);
    EXPECT_EQ(symOf(*k, kKeyY), XKB_KEY_y);

    ASSERT_TRUE(lockGroup(1));
    ASSERT_TRUE(changedWithin(*k, 5000));
    EXPECT_EQ(k->group(), 1u);
    EXPECT_EQ(symOf(*k, kKeyY), XKB_KEY_z);

    ASSERT_TRUE(lockGroup(0));
    ASSERT_TRUE(changedWithin(*k, 5000));
    EXPECT_EQ(k->group(), 0u);
}

TEST_F(XkbKeymapTest, TheServerGoingAwayEndsTheConnection)
{
    auto k = XkbKeymap::connect(x.display().c_str());
    ASSERT_TRUE(k);
    x.stop();
    pollfd p{k->fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 5000), 1);
    EXPECT_FALSE(k->takeChanges());
    EXPECT_FALSE(k->connected());
    // The last keymap read stays usable.
    EXPECT_NE(k->keymap(), nullptr);
}

TEST(XkbKeymapNoServer, NoConnectionWithoutAServer)
{
    EXPECT_EQ(XkbKeymap::connect(":4095"), nullptr);
}
