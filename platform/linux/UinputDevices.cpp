#include "platform/linux/UinputDevices.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

#include "core/log/NVLog.h"
#include "platform/linux/UinputKeymap.h"

namespace {

// Units per millimetre: the coordinate span then reads as about half a metre, a
// plausible size for the tablet input stack's sanity checks.
constexpr int kAbsResolution = 2000;
// Tilt is in degrees; the resolution is in units per radian.
constexpr int kTiltResolution = 57;

constexpr uint16_t kPenProduct = 0x7001;
constexpr uint16_t kPointerProduct = 0x7002;
constexpr uint16_t kKeyboardProduct = 0x7003;

NVEvdevPtr base(const char* name, uint16_t product)
{
    NVEvdevPtr dev(libevdev_new());
    libevdev_set_name(dev.get(), name);
    libevdev_set_id_bustype(dev.get(), BUS_VIRTUAL);
    libevdev_set_id_vendor(dev.get(), NV_UINPUT_VENDOR);
    libevdev_set_id_product(dev.get(), product);
    libevdev_set_id_version(dev.get(), 1);
    return dev;
}

void abs_axis(libevdev* dev, unsigned code, int min, int max, int resolution)
{
    input_absinfo info{};
    info.minimum = min;
    info.maximum = max;
    info.resolution = resolution;
    libevdev_enable_event_code(dev, EV_ABS, code, &info);
}

void key(libevdev* dev, unsigned code)
{
    libevdev_enable_event_code(dev, EV_KEY, code, nullptr);
}

libevdev_uinput* create_one(const NVEvdevPtr& desc)
{
    libevdev_uinput* uidev = nullptr;
    const int rc = libevdev_uinput_create_from_device(desc.get(), LIBEVDEV_UINPUT_OPEN_MANAGED, &uidev);
    if (rc != 0) {
        nv_log("uinput: cannot create %s: %s", libevdev_get_name(desc.get()), strerror(-rc));
        return nullptr;
    }
    return uidev;
}

std::string node_of(libevdev_uinput* uidev)
{
    const char* n = libevdev_uinput_get_devnode(uidev);
    return n ? n : "";
}

} // namespace

void NVEvdevFree::operator()(libevdev* dev) const
{
    libevdev_free(dev);
}

NVEvdevPtr nv_uinput_pen_description()
{
    NVEvdevPtr dev = base(nvUinputPenName, kPenProduct);
    libevdev_enable_property(dev.get(), INPUT_PROP_DIRECT);
    libevdev_enable_property(dev.get(), INPUT_PROP_POINTER);
    abs_axis(dev.get(), ABS_X, 0, NV_UINPUT_ABS_MAX, kAbsResolution);
    abs_axis(dev.get(), ABS_Y, 0, NV_UINPUT_ABS_MAX, kAbsResolution);
    abs_axis(dev.get(), ABS_PRESSURE, 0, NV_UINPUT_PRESSURE_MAX, 0);
    abs_axis(dev.get(), ABS_TILT_X, -NV_UINPUT_TILT_MAX, NV_UINPUT_TILT_MAX, kTiltResolution);
    abs_axis(dev.get(), ABS_TILT_Y, -NV_UINPUT_TILT_MAX, NV_UINPUT_TILT_MAX, kTiltResolution);
    for (unsigned c : {BTN_TOOL_PEN, BTN_TOOL_RUBBER, BTN_TOUCH, BTN_STYLUS, BTN_STYLUS2})
        key(dev.get(), c);
    return dev;
}

NVEvdevPtr nv_uinput_pointer_description()
{
    NVEvdevPtr dev = base("Nuvro Tablet Pointer", kPointerProduct);
    abs_axis(dev.get(), ABS_X, 0, NV_UINPUT_ABS_MAX, kAbsResolution);
    abs_axis(dev.get(), ABS_Y, 0, NV_UINPUT_ABS_MAX, kAbsResolution);
    for (unsigned c : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE})
        key(dev.get(), c);
    libevdev_enable_event_code(dev.get(), EV_REL, REL_WHEEL, nullptr);
    libevdev_enable_event_code(dev.get(), EV_REL, REL_WHEEL_HI_RES, nullptr);
    return dev;
}

NVEvdevPtr nv_uinput_keyboard_description()
{
    NVEvdevPtr dev = base("Nuvro Tablet Keyboard", kKeyboardProduct);
    for (const NVKeyMapping& m : nv_vk_keymap())
        key(dev.get(), m.evdev);
    return dev;
}

bool nv_uinput_available(const char* path)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::unique_ptr<UinputDevices> UinputDevices::create(const char* path)
{
    if (!nv_uinput_available(path)) {
        nv_log("uinput: %s is missing or not writable; install the udev rule 70-nuvro-tablet.rules and log in again",
               path);
        return nullptr;
    }
    std::unique_ptr<UinputDevices> d(new UinputDevices);
    d->pen_ = create_one(nv_uinput_pen_description());
    d->pointer_ = create_one(nv_uinput_pointer_description());
    d->keyboard_ = create_one(nv_uinput_keyboard_description());
    if (!d->pen_ || !d->pointer_ || !d->keyboard_)
        return nullptr;
    return d;
}

UinputDevices::~UinputDevices()
{
    for (libevdev_uinput* u : {pen_, pointer_, keyboard_})
        if (u)
            libevdev_uinput_destroy(u);
}

int UinputDevices::penFd() const { return libevdev_uinput_get_fd(pen_); }
int UinputDevices::pointerFd() const { return libevdev_uinput_get_fd(pointer_); }
int UinputDevices::keyboardFd() const { return libevdev_uinput_get_fd(keyboard_); }
std::string UinputDevices::penNode() const { return node_of(pen_); }
std::string UinputDevices::pointerNode() const { return node_of(pointer_); }
std::string UinputDevices::keyboardNode() const { return node_of(keyboard_); }
