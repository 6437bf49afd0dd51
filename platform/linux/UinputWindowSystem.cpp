#include "platform/linux/UinputWindowSystem.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/input/Clock.h"
#include "core/log/NVLog.h"
#include "platform/linux/UinputDevices.h"
#include "platform/linux/UinputKeymap.h"

namespace {

constexpr uint32_t kConnection = 1;
constexpr int kHiResPerDetent = 120;

struct ModifierKey {
    uint64_t flag;
    uint16_t code;
};
constexpr ModifierKey kModifierKeys[] = {
    {NVMF_CONTROL, KEY_LEFTCTRL},
    {NVMF_OPTION, KEY_LEFTALT},
    {NVMF_SHIFT, KEY_LEFTSHIFT},
    {NVMF_COMMAND, KEY_LEFTMETA},
};
constexpr uint64_t kModifierMask = NVMF_CONTROL | NVMF_OPTION | NVMF_SHIFT | NVMF_COMMAND;

int32_t clamp_round(double v, int32_t lo, int32_t hi)
{
    if (std::isnan(v))
        return lo;
    return static_cast<int32_t>(std::clamp(std::round(v), static_cast<double>(lo), static_cast<double>(hi)));
}

int32_t scale(double v, double origin, double extent)
{
    if (!(extent > 0))
        return 0;
    return clamp_round((v - origin) * (NV_UINPUT_ABS_MAX + 1.0) / extent, 0, NV_UINPUT_ABS_MAX);
}

// Tilt fields are fractions of 64 degrees.
int32_t tilt_degrees(const NVWSField* f, int32_t previous)
{
    return f ? clamp_round(f->asDouble() * 64.0, -NV_UINPUT_TILT_MAX, NV_UINPUT_TILT_MAX) : previous;
}

int32_t clamp_i32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

UinputWindowSystem::UinputWindowSystem(NVUinputFds fds, DisplayList& displays, const Clock& clock)
    : fds_(fds), displays_(displays), clock_(clock)
{
    refreshDisplays();
}

void UinputWindowSystem::refreshDisplays()
{
    std::vector<NVDisplayInfo> list;
    if (!displays_.activeDisplays(list) || list.empty()) {
        nv_log("UinputWindowSystem: no displays, keeping the previous desktop box");
        return;
    }
    box_ = nv_displays_bounding_box(list);
}

int32_t UinputWindowSystem::absX(double x) const
{
    return scale(x, box_.x, box_.width);
}

int32_t UinputWindowSystem::absY(double y) const
{
    return scale(y, box_.y, box_.height);
}

void UinputWindowSystem::postEvent(const NVWSEvent& e)
{
    frame_.clear();
    if (e.type == NVET_SCROLL_WHEEL)
        scroll(e);
    else if (e.type == NVET_TABLET_PROXIMITY || e.type == NVET_TABLET_POINTER || e.subtype != NVMST_NONE)
        penEvent(e);
    else
        pointerEvent(e);
}

void UinputWindowSystem::penEvent(const NVWSEvent& e)
{
    lastPenTime_ = clock_.now();
    const NVWSField* enter = e.field(NVEF_PROXIMITY_ENTER);
    if (enter) {
        const NVWSField* type = e.field(NVEF_PROXIMITY_POINTER_TYPE);
        const uint16_t tool = type && type->i == NVPT_ERASER ? BTN_TOOL_RUBBER : BTN_TOOL_PEN;
        if (!enter->i) {
            if (pen_.inProximity)
                addPenLeave(true);
            flush(fds_.pen);
            return;
        }
        if (pen_.inProximity && tool != pen_.tool)
            addPenLeave(false);
        pen_.tool = tool;
        if (e.type == NVET_TABLET_PROXIMITY) {
            if (!pen_.inProximity)
                addPenEnter();
            flush(fds_.pen);
            return;
        }
    }

    if (e.type == NVET_TABLET_POINTER) {
        const NVWSField* x = e.field(NVEF_TABLET_POINT_X);
        const NVWSField* y = e.field(NVEF_TABLET_POINT_Y);
        if (x && y) {
            pen_.x = absX(x->asDouble());
            pen_.y = absY(y->asDouble());
        }
    } else if (e.hasLocation) {
        pen_.x = absX(e.x);
        pen_.y = absY(e.y);
    }
    pen_.tiltX = tilt_degrees(e.field(NVEF_TABLET_TILT_X), pen_.tiltX);
    pen_.tiltY = tilt_degrees(e.field(NVEF_TABLET_TILT_Y), pen_.tiltY);
    const NVWSField* p = e.field(e.type == NVET_TABLET_POINTER ? NVEF_TABLET_POINTER_PRESSURE : NVEF_MOUSE_PRESSURE);
    if (p)
        pen_.pressure = kPressureFloor + clamp_round(p->asDouble() * (NV_UINPUT_PRESSURE_MAX - kPressureFloor), 0,
                                                     NV_UINPUT_PRESSURE_MAX - kPressureFloor);
    if (e.subtype == NVMST_TABLET_POINT && e.type == NVET_LEFT_MOUSE_DOWN)
        pen_.touching = true;
    else if (e.subtype == NVMST_TABLET_POINT && e.type == NVET_LEFT_MOUSE_UP)
        pen_.touching = false;

    const bool entered = !pen_.inProximity;
    if (entered)
        addPenEnter();
    if (!entered || pen_.touching != pen_.touchWritten)
        addPenMotion();
    flush(fds_.pen);
}

void UinputWindowSystem::addPenEnter()
{
    frame_.add(EV_KEY, pen_.tool, 1);
    frame_.add(EV_ABS, ABS_X, pen_.x);
    frame_.add(EV_ABS, ABS_Y, pen_.y);
    frame_.add(EV_ABS, ABS_TILT_X, pen_.tiltX);
    frame_.add(EV_ABS, ABS_TILT_Y, pen_.tiltY);
    frame_.add(EV_ABS, ABS_PRESSURE, 0);
    frame_.syn();
    pen_.inProximity = true;
}

void UinputWindowSystem::addPenMotion()
{
    frame_.add(EV_ABS, ABS_X, pen_.x);
    frame_.add(EV_ABS, ABS_Y, pen_.y);
    frame_.add(EV_ABS, ABS_TILT_X, pen_.tiltX);
    frame_.add(EV_ABS, ABS_TILT_Y, pen_.tiltY);
    frame_.add(EV_ABS, ABS_PRESSURE, pen_.touching ? pen_.pressure : 0);
    if (pen_.touching != pen_.touchWritten)
        frame_.add(EV_KEY, BTN_TOUCH, pen_.touching ? 1 : 0);
    pen_.touchWritten = pen_.touching;
    frame_.syn();
}

void UinputWindowSystem::addPenLeave(bool endTouch)
{
    if (pen_.touchWritten) {
        frame_.add(EV_ABS, ABS_PRESSURE, 0);
        frame_.add(EV_KEY, BTN_TOUCH, 0);
    }
    frame_.add(EV_KEY, pen_.tool, 0);
    frame_.syn();
    pen_.inProximity = false;
    pen_.touchWritten = false;
    if (endTouch)
        pen_.touching = false;
}

void UinputWindowSystem::pointerEvent(const NVWSEvent& e)
{
    if (e.hasLocation) {
        frame_.add(EV_ABS, ABS_X, absX(e.x));
        frame_.add(EV_ABS, ABS_Y, absY(e.y));
    }
    switch (e.type) {
    case NVET_LEFT_MOUSE_DOWN: frame_.add(EV_KEY, BTN_LEFT, 1); break;
    case NVET_LEFT_MOUSE_UP: frame_.add(EV_KEY, BTN_LEFT, 0); break;
    case NVET_RIGHT_MOUSE_DOWN: frame_.add(EV_KEY, BTN_RIGHT, 1); break;
    case NVET_RIGHT_MOUSE_UP: frame_.add(EV_KEY, BTN_RIGHT, 0); break;
    case NVET_OTHER_MOUSE_DOWN: frame_.add(EV_KEY, BTN_MIDDLE, 1); break;
    case NVET_OTHER_MOUSE_UP: frame_.add(EV_KEY, BTN_MIDDLE, 0); break;
    default: break;
    }
    if (!frame_.empty())
        frame_.syn();
    flush(fds_.pointer);
}

void UinputWindowSystem::scroll(const NVWSEvent& e)
{
    const int64_t total = static_cast<int64_t>(wheelRemainder_) + e.wheel1;
    const int64_t detents = total / kPixelsPerDetent;
    wheelRemainder_ = static_cast<int32_t>(total - detents * kPixelsPerDetent);
    const int32_t hiRes = clamp_i32(static_cast<int64_t>(e.wheel1) * (kHiResPerDetent / kPixelsPerDetent));
    if (hiRes)
        frame_.add(EV_REL, REL_WHEEL_HI_RES, hiRes);
    if (detents)
        frame_.add(EV_REL, REL_WHEEL, clamp_i32(detents));
    if (!frame_.empty())
        frame_.syn();
    flush(fds_.pointer);
}

void UinputWindowSystem::postHIDEvent(uint32_t connect, const NVHIDEvent& e)
{
    if (connect != kConnection || !keyboardConnected_)
        return;
    frame_.clear();
    if (e.type == NVHID_FLAGS_CHANGED) {
        modifiers(e.eventFlags);
    } else {
        const uint16_t code = nv_vk_to_evdev(e.keyCode);
        if (!code) {
            nv_log("UinputWindowSystem: no key for virtual key code %u", static_cast<unsigned>(e.keyCode));
            return;
        }
        if (e.type == NVHID_KEY_DOWN)
            setKey(code, keysDown_[code] ? 2 : 1);
        else if (e.type == NVHID_KEY_UP && keysDown_[code])
            setKey(code, 0);
    }
    if (!frame_.empty())
        frame_.syn();
    flush(fds_.keyboard);
}

void UinputWindowSystem::modifiers(uint64_t flags)
{
    flags &= kModifierMask;
    const uint64_t changed = flags ^ modifierFlags_;
    for (const ModifierKey& m : kModifierKeys) {
        if (!(changed & m.flag))
            continue;
        const bool press = flags & m.flag;
        if (press != keysDown_[m.code])
            setKey(m.code, press ? 1 : 0);
    }
    modifierFlags_ = flags;
}

void UinputWindowSystem::setKey(uint16_t code, int32_t value)
{
    frame_.add(EV_KEY, code, value);
    keysDown_[code] = value != 0;
}

uint32_t UinputWindowSystem::connectKeyboard()
{
    keyboardConnected_ = fds_.keyboard >= 0;
    return keyboardConnected_ ? kConnection : 0;
}

void UinputWindowSystem::disconnectKeyboard(uint32_t connect)
{
    if (connect != kConnection || !keyboardConnected_)
        return;
    // Keys held by a key function must not stay down on the desktop.
    frame_.clear();
    for (size_t code = 0; code < keysDown_.size(); ++code)
        if (keysDown_[code])
            setKey(static_cast<uint16_t>(code), 0);
    if (!frame_.empty())
        frame_.syn();
    flush(fds_.keyboard);
    modifierFlags_ = 0;
    keyboardConnected_ = false;
}

double UinputWindowSystem::proximityDeadline() const
{
    return pen_.inProximity ? lastPenTime_ + kProximityTimeout : -1.0;
}

void UinputWindowSystem::checkProximity()
{
    if (!pen_.inProximity || clock_.now() - lastPenTime_ < kProximityTimeout)
        return;
    frame_.clear();
    addPenLeave(true);
    flush(fds_.pen);
}

void UinputWindowSystem::flush(int fd)
{
    if (frame_.empty() || fd < 0)
        return;
    if (frame_.writeTo(fd)) {
        writeFailed_ = false;
        return;
    }
    if (!writeFailed_)
        nv_log("UinputWindowSystem: write failed: %s", strerror(errno));
    writeFailed_ = true;
}
