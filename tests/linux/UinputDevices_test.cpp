// The devices as the input stack will classify them, and their creation where the
// kernel allows it.
#include "platform/linux/UinputDevices.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <set>
#include <unistd.h>

#include "core/log/NVLog.h"
#include "platform/linux/UinputKeymap.h"
#include "platform/linux/UinputWindowSystem.h"
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/ManualClock.h"

namespace {

TEST(UinputDescription, PenIsATabletForTheInputStack)
{
    const NVEvdevPtr pen = nv_uinput_pen_description();
    libevdev* d = pen.get();
    EXPECT_EQ(libevdev_get_id_bustype(d), BUS_VIRTUAL);
    EXPECT_EQ(libevdev_get_id_vendor(d), 0x3A7E);
    for (unsigned axis : {ABS_X, ABS_Y}) {
        ASSERT_TRUE(libevdev_has_event_code(d, EV_ABS, axis));
        EXPECT_EQ(libevdev_get_abs_minimum(d, axis), 0);
        EXPECT_EQ(libevdev_get_abs_maximum(d, axis), (1 << 20) - 1);
        EXPECT_GT(libevdev_get_abs_resolution(d, axis), 0);
    }
    EXPECT_EQ(libevdev_get_abs_maximum(d, ABS_PRESSURE), 65535);
    for (unsigned axis : {ABS_TILT_X, ABS_TILT_Y}) {
        EXPECT_LT(libevdev_get_abs_minimum(d, axis), 0);
        EXPECT_GT(libevdev_get_abs_maximum(d, axis), 0);
        EXPECT_EQ(libevdev_get_abs_resolution(d, axis), 57);
    }
    for (unsigned key : {BTN_TOOL_PEN, BTN_TOOL_RUBBER, BTN_TOUCH, BTN_STYLUS, BTN_STYLUS2})
        EXPECT_TRUE(libevdev_has_event_code(d, EV_KEY, key)) << key;
    EXPECT_FALSE(libevdev_has_event_code(d, EV_KEY, BTN_LEFT));
    EXPECT_FALSE(libevdev_has_event_code(d, EV_KEY, BTN_0));
    EXPECT_FALSE(libevdev_has_event_type(d, EV_REL));
    EXPECT_TRUE(libevdev_has_property(d, INPUT_PROP_DIRECT));
    EXPECT_TRUE(libevdev_has_property(d, INPUT_PROP_POINTER));
    EXPECT_EQ(std::string(libevdev_get_name(d)).find("Pen") != std::string::npos, true);
}

TEST(UinputDescription, PointerAndKeyboard)
{
    const NVEvdevPtr pointer = nv_uinput_pointer_description();
    for (unsigned key : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE})
        EXPECT_TRUE(libevdev_has_event_code(pointer.get(), EV_KEY, key));
    EXPECT_TRUE(libevdev_has_event_code(pointer.get(), EV_REL, REL_WHEEL));
    EXPECT_TRUE(libevdev_has_event_code(pointer.get(), EV_REL, REL_WHEEL_HI_RES));
    EXPECT_TRUE(libevdev_has_event_code(pointer.get(), EV_ABS, ABS_X));
    EXPECT_FALSE(libevdev_has_event_code(pointer.get(), EV_KEY, BTN_TOOL_PEN));

    const NVEvdevPtr keyboard = nv_uinput_keyboard_description();
    for (const NVKeyMapping& m : nv_vk_keymap())
        EXPECT_TRUE(libevdev_has_event_code(keyboard.get(), EV_KEY, m.evdev)) << m.vk;
    EXPECT_FALSE(libevdev_has_event_type(keyboard.get(), EV_ABS));
    EXPECT_FALSE(libevdev_has_event_type(keyboard.get(), EV_REP));
}

TEST(UinputKeymap, EveryKeyHasItsOwnEvdevCode)
{
    std::set<uint16_t> vks, codes;
    for (const NVKeyMapping& m : nv_vk_keymap()) {
        EXPECT_NE(m.evdev, 0) << m.vk;
        EXPECT_LT(m.evdev, KEY_CNT);
        EXPECT_TRUE(vks.insert(m.vk).second) << "virtual key twice: " << m.vk;
        EXPECT_TRUE(codes.insert(m.evdev).second) << "evdev code twice: " << m.evdev;
        EXPECT_EQ(nv_vk_to_evdev(m.vk), m.evdev);
        EXPECT_EQ(nv_evdev_to_vk(m.evdev), m.vk);
    }
    EXPECT_EQ(nv_evdev_to_vk(KEY_PRINT), -1);
    EXPECT_GE(codes.size(), 110u);
    EXPECT_EQ(nv_vk_to_evdev(0x00), KEY_A);
    EXPECT_EQ(nv_vk_to_evdev(0x24), KEY_ENTER);
    EXPECT_EQ(nv_vk_to_evdev(0x37), KEY_LEFTMETA);
    EXPECT_EQ(nv_vk_to_evdev(0x38), KEY_LEFTSHIFT);
    EXPECT_EQ(nv_vk_to_evdev(0x3A), KEY_LEFTALT);
    EXPECT_EQ(nv_vk_to_evdev(0x3B), KEY_LEFTCTRL);
    EXPECT_EQ(nv_vk_to_evdev(0x7E), KEY_UP);
    EXPECT_EQ(nv_vk_to_evdev(0x34), 0);
    EXPECT_EQ(nv_vk_to_evdev(0x7F), 0);
    EXPECT_EQ(nv_vk_to_evdev(0xFFFF), 0);
}

TEST(Uinput, MissingNodeIsReportedInOneLine)
{
    NVLogCapture log;
    EXPECT_FALSE(nv_uinput_available("/nonexistent/uinput"));
    EXPECT_EQ(UinputDevices::create("/nonexistent/uinput"), nullptr);
    EXPECT_EQ(log.count("/nonexistent/uinput is missing or not writable"), 1u);
}

TEST(Uinput, DevicesCarryEventsToTheKernel)
{
    if (!nv_uinput_available())
        GTEST_SKIP() << "/dev/uinput is missing or not writable here";
    auto devices = UinputDevices::create();
    ASSERT_NE(devices, nullptr);
    const std::string node = devices->penNode();
    if (node.empty())
        GTEST_SKIP() << "the kernel did not report the pen's event node";
    const int fd = open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        GTEST_SKIP() << node << " cannot be read here";
    libevdev* reader = nullptr;
    ASSERT_EQ(libevdev_new_from_fd(fd, &reader), 0);
    EXPECT_TRUE(libevdev_has_event_code(reader, EV_KEY, BTN_TOOL_PEN));
    EXPECT_TRUE(libevdev_has_property(reader, INPUT_PROP_DIRECT));
    EXPECT_GT(libevdev_get_abs_resolution(reader, ABS_X), 0);

    FakeDisplays displays(std::vector<NVDisplayInfo>{{1, {0, 0, 1920, 1080}}});
    ManualClock clock;
    UinputWindowSystem ws({devices->penFd(), devices->pointerFd(), devices->keyboardFd()}, displays, clock);
    NVWSEvent hover;
    hover.type = NVET_MOUSE_MOVED;
    hover.subtype = NVMST_TABLET_POINT;
    hover.hasLocation = true;
    hover.x = 960;
    hover.y = 540;
    ws.postEvent(hover);

    bool sawTool = false;
    input_event ev;
    for (int tries = 0; tries < 200 && !sawTool; ++tries) {
        const int rc = libevdev_next_event(reader, LIBEVDEV_READ_FLAG_NORMAL, &ev);
        if (rc == -EAGAIN)
            usleep(5000);
        else if (rc == 0 && ev.type == EV_KEY && ev.code == BTN_TOOL_PEN)
            sawTool = ev.value == 1;
    }
    EXPECT_TRUE(sawTool);
    EXPECT_EQ(libevdev_get_event_value(reader, EV_ABS, ABS_X), 1 << 19);
    libevdev_free(reader);
    close(fd);
}

} // namespace
