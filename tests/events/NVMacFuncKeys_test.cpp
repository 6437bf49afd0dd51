// Keyboard sequences through the HID-system path.
#include "tests/events/EventsTestSupport.h"

#include "core/log/NVLog.h"

namespace {

struct Hid {
    uint32_t type;
    uint16_t key;
    uint32_t flags;
    bool operator==(const Hid&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Hid& h)
{
    return os << "{" << h.type << ", " << h.key << ", 0x" << std::hex << h.flags << std::dec << "}";
}

NVKbtn kbtn(bool ctrl, bool alt, bool shift, bool win, std::vector<uint8_t> keys)
{
    NVKbtn k{};
    k.bCtrl = ctrl;
    k.bAlt = alt;
    k.bShift = shift;
    k.bWin = win;
    for (size_t i = 0; i < keys.size(); ++i)
        k.kbKeys[i] = keys[i];
    return k;
}

class KeysTest : public MacFuncTest {
protected:
    std::vector<Hid> posted() const
    {
        std::vector<Hid> out;
        for (const auto& r : rec.events()) {
            EXPECT_TRUE(r.isHID);
            out.push_back({r.hid.type, r.hid.keyCode, r.hid.eventFlags});
        }
        return out;
    }
};

constexpr uint32_t FC = NVHID_FLAGS_CHANGED, DN = NVHID_KEY_DOWN, UP = NVHID_KEY_UP;

TEST_F(KeysTest, ShiftAloneIsHeldThenReleased)
{
    const NVKbtn k = kbtn(false, false, true, false, {});
    NVMacFunc::sendKeyDown(&k);
    EXPECT_EQ(posted(), (std::vector<Hid>{{FC, 0, 0x20000}}));
    EXPECT_EQ(gModifierKeyEventFlag, NVMF_SHIFT);
    EXPECT_EQ(hid(0).options, 1u);
    EXPECT_EQ(hid(0).version, 2u);
    EXPECT_EQ(hid(0).x, 0.0);

    rec.clear();
    NVMacFunc::sendKeyUp(&k);
    EXPECT_EQ(posted(), (std::vector<Hid>{{UP, 56, 8}, {FC, 56, 0}}));
    EXPECT_EQ(gModifierKeyEventFlag, 0u);
    EXPECT_EQ(hid(0).options, 0u);
}

TEST_F(KeysTest, AllModifiersWithOneKeyGrowThenReleaseInOrder)
{
    const NVKbtn k = kbtn(true, true, true, true, {6});
    const uint32_t all = 0x1E0000;
    NVMacFunc::sendKeyDown(&k);
    EXPECT_EQ(posted(), (std::vector<Hid>{{FC, 0, 0x40000},
                                          {FC, 0, 0xC0000},
                                          {FC, 0, 0xE0000},
                                          {FC, 0, all},
                                          {FC, 6, all},
                                          {DN, 6, 8}}));
    EXPECT_EQ(gModifierKeyEventFlag, all);

    rec.clear();
    NVMacFunc::sendKeyUp(&k);
    EXPECT_EQ(posted(), (std::vector<Hid>{{UP, 6, 8}, {FC, 6, 0},
                                          {UP, 55, 8}, {FC, 55, 0},
                                          {UP, 56, 8}, {FC, 56, 0},
                                          {UP, 58, 8}, {FC, 58, 0},
                                          {UP, 59, 8}, {FC, 59, 0}}));
    EXPECT_EQ(gModifierKeyEventFlag, 0u);
}

TEST_F(KeysTest, SeveralKeysAreTypedOnDownAndNothingOnUp)
{
    const NVKbtn k = kbtn(false, false, false, false, {0x0C, 0x0D});
    NVMacFunc::sendKeyDown(&k);
    EXPECT_EQ(posted(), (std::vector<Hid>{{DN, 0x0C, 8}, {UP, 0x0C, 8}, {DN, 0x0D, 8}, {UP, 0x0D, 8}}));
    for (size_t i = 0; i < count(); ++i)
        EXPECT_EQ(hid(i).repeat, 0) << i;
    rec.clear();
    NVMacFunc::sendKeyUp(&k);
    EXPECT_EQ(count(), 0u);
}

TEST_F(KeysTest, SixteenTypedKeysStopAtTheEndOfTheList)
{
    std::vector<uint8_t> keys(NV_KBKEYS_MAX, 0x20);
    const NVKbtn k = kbtn(false, false, false, false, keys);
    NVMacFunc::sendKeyDown(&k);
    EXPECT_EQ(count(), 2u * NV_KBKEYS_MAX);
}

TEST_F(KeysTest, KeyByte255IsKeyCodeZero)
{
    const NVKbtn k = kbtn(false, false, true, false, {255});
    NVMacFunc::sendKeyClick(&k);
    EXPECT_EQ(posted(), (std::vector<Hid>{{FC, 0, 0x20000}, {FC, 0, 0x20000}, {DN, 0, 8},
                                          {UP, 0, 8}, {FC, 0, 0},
                                          {UP, 56, 8}, {FC, 56, 0}}));
}

TEST_F(KeysTest, RepeatFollowsTheLastKeyEvent)
{
    NVMacFunc::sendKBKey(4, true, 0);
    NVMacFunc::sendKBKey(4, true, 0);
    NVMacFunc::sendKBKey(4, false, 0);
    NVMacFunc::sendKBKey(4, true, 0);
    ASSERT_EQ(count(), 4u);
    EXPECT_EQ(hid(0).repeat, 0);
    EXPECT_EQ(hid(1).repeat, 1);
    EXPECT_EQ(hid(2).repeat, 0);
    EXPECT_EQ(hid(3).repeat, 0);
    EXPECT_EQ(NVMacFunc::keyRepeat, 1);
}

TEST_F(KeysTest, NoKeyboardConnectionDropsKeysWithOneLogLine)
{
    NVLogCapture log;
    g_gi.hidConnect = 0;
    const NVKbtn k = kbtn(true, false, false, false, {6});
    NVMacFunc::sendKeyClick(&k);
    EXPECT_EQ(count(), 0u);
    EXPECT_EQ(log.count("no keyboard connection"), 1u);
    EXPECT_EQ(gModifierKeyEventFlag, 0u);

    g_gi.hidConnect = 1;
    NVMacFunc::sendKBKey(4, true, 0);
    EXPECT_EQ(count(), 1u);
    EXPECT_EQ(rec.events()[0].connect, 1u);
    g_gi.hidConnect = 0;
    NVMacFunc::sendKBKey(4, false, 0);
    EXPECT_EQ(log.count("no keyboard connection"), 2u);
}

} // namespace
