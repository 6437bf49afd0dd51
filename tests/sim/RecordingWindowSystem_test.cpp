#include "platform/sim/RecordingWindowSystem.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "platform/sim/ManualClock.h"

namespace {

TEST(RecordingWindowSystem, WritesOneJsonLinePerEventWithFieldsInWritingOrder)
{
    ManualClock clock;
    std::ostringstream out;
    RecordingWindowSystem rec(&clock, &out);

    NVWSEvent e;
    e.type = NVET_MOUSE_MOVED;
    e.hasLocation = true;
    e.x = 12.5;
    e.y = 7;
    e.subtype = NVMST_TABLET_PROXIMITY;
    e.setInt(38, 1);
    e.setDouble(2, 0.25);
    e.setInt(0, 4);
    clock.set(1.5);
    rec.postEvent(e);

    NVWSEvent scroll;
    scroll.type = NVET_SCROLL_WHEEL;
    scroll.wheel1 = -30;
    scroll.setFlags(0);
    rec.postEvent(scroll);

    NVHIDEvent k;
    k.type = NVHID_KEY_UP;
    k.keyCode = 11;
    k.eventFlags = 8;
    rec.postHIDEvent(rec.connectKeyboard(), k);

    std::istringstream lines(out.str());
    std::string a, b, c, extra;
    ASSERT_TRUE(std::getline(lines, a) && std::getline(lines, b) && std::getline(lines, c));
    EXPECT_FALSE(std::getline(lines, extra));
    EXPECT_EQ(a, R"({"t":1.5,"event":5,"location":[12.5,7.0],"button":0,"subtype":2,"fields":{"38":1,"2":0.25,"0":4}})");
    EXPECT_EQ(b, R"({"t":1.5,"event":22,"flags":0,"wheel":[-30],"fields":{}})");
    EXPECT_EQ(c, R"({"t":1.5,"hid":11,"key":11,"repeat":0,"flags":8})");

    ASSERT_EQ(rec.events().size(), 3u);
    EXPECT_FALSE(rec.events()[0].isHID);
    EXPECT_TRUE(rec.events()[2].isHID);
    EXPECT_EQ(rec.events()[2].connect, 1u);
}

TEST(RecordingWindowSystem, KeyboardConnectionCanBeRefused)
{
    RecordingWindowSystem rec;
    rec.setKeyboardAvailable(false);
    EXPECT_EQ(rec.connectKeyboard(), 0u);
    rec.setKeyboardAvailable(true);
    const uint32_t c = rec.connectKeyboard();
    EXPECT_NE(c, 0u);
    EXPECT_TRUE(rec.keyboardConnected());
    rec.disconnectKeyboard(c);
    EXPECT_FALSE(rec.keyboardConnected());
}

} // namespace
