#include "core/events/NVMacFunc.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "core/model/NVText.h"
#include "core/channel/Workspace.h"
#include "core/events/NVLaunchPlan.h"
#include "core/events/ProcessLauncher.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"

uint64_t gModifierKeyEventFlag = 0;
int64_t glEventNumber = 0;
bool gbOtherMouseDown = false;
bool gbRightMouseDown = false;
bool gbEraser = false;

uint8_t NVMacFunc::keyRepeat = 0;

namespace {

WindowSystem* g_ws = nullptr;
const Workspace* g_workspace = nullptr;
ProcessLauncher* g_launcher = nullptr;
// The missing keyboard connection is logged once, not once per key.
bool g_noKeyboardLogged = false;

constexpr int64_t kVendorId = 14974;
constexpr int64_t kTabletId = 110;
constexpr int64_t kDeviceId = 1095;
constexpr int64_t kVendorPointerType = 2082;
constexpr int64_t kVendorPointerSerial = 1;
constexpr int64_t kVendorUniqueId = 257;
constexpr int64_t kCapabilityMask = 1479;
constexpr uint32_t kKeyEventFlags = 8;

// Truncation toward zero that stays defined for NaN and out-of-range values.
int64_t trunc_i64(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lim = 9.2e18;
    if (v >= lim)
        return static_cast<int64_t>(lim);
    if (v <= -lim)
        return -static_cast<int64_t>(lim);
    return static_cast<int64_t>(v);
}

int32_t trunc_i32(double v)
{
    const int64_t t = trunc_i64(v);
    if (t > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (t < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(t);
}

// Pressure as a fraction of the tablet's maximum; 0 before a tablet is known.
double pressure_of(const NVPenData& pd)
{
    return g_gi.ti.maxP ? static_cast<double>(pd.ps) / static_cast<double>(g_gi.ti.maxP) : 0.0;
}

void post(const NVWSEvent& e)
{
    if (g_ws)
        g_ws->postEvent(e);
}

void postHID(const NVHIDEvent& e)
{
    if (g_gi.hidConnect == 0) {
        if (!g_noKeyboardLogged)
            nv_log("NVMacFunc: no keyboard connection, key events dropped");
        g_noKeyboardLogged = true;
        return;
    }
    g_noKeyboardLogged = false;
    if (g_ws)
        g_ws->postHIDEvent(g_gi.hidConnect, e);
}

// The one event under construction. Posting is never re-entered, so a single reused
// record spares every event the set-up of a fresh one.
NVWSEvent& new_event(int32_t type)
{
    static NVWSEvent e;
    e.reset();
    e.type = type;
    return e;
}

NVWSEvent& mouse_event(int32_t type, NVScreenPoint pos, int32_t button)
{
    NVWSEvent& e = new_event(type);
    e.hasLocation = true;
    e.x = pos.x;
    e.y = pos.y;
    e.button = button;
    return e;
}

bool only_first_key(const NVKbtn* k)
{
    for (int i = 1; i < NV_KBKEYS_MAX; ++i)
        if (k->kbKeys[i])
            return false;
    return true;
}

} // namespace

void NVMacFunc::setWindowSystem(WindowSystem* ws)
{
    g_ws = ws;
}

void NVMacFunc::setWorkspace(const Workspace* workspace)
{
    g_workspace = workspace;
}

void NVMacFunc::setProcessLauncher(ProcessLauncher* launcher)
{
    g_launcher = launcher;
}

void NVMacFunc::resetState()
{
    gModifierKeyEventFlag = 0;
    glEventNumber = 0;
    gbOtherMouseDown = false;
    gbRightMouseDown = false;
    gbEraser = false;
    keyRepeat = 0;
    g_noKeyboardLogged = false;
}

void NVMacFunc::fillProximityFields(NVWSEvent& e, const NVMacPenData&, int64_t, bool proximity)
{
    NVWSFieldWriter w(e);
    w.setInt(NVEF_PROXIMITY_VENDOR_ID, kVendorId);
    w.setInt(NVEF_PROXIMITY_TABLET_ID, kTabletId);
    w.setInt(NVEF_PROXIMITY_POINTER_ID, 0);
    w.setInt(NVEF_PROXIMITY_DEVICE_ID, kDeviceId);
    w.setInt(NVEF_PROXIMITY_SYSTEM_TABLET_ID, 0);
    w.setInt(NVEF_PROXIMITY_VENDOR_POINTER_TYPE, kVendorPointerType);
    w.setInt(NVEF_PROXIMITY_POINTER_TYPE, gbEraser ? NVPT_ERASER : NVPT_PEN);
    w.setInt(NVEF_PROXIMITY_VENDOR_POINTER_SERIAL, kVendorPointerSerial);
    w.setInt(NVEF_PROXIMITY_VENDOR_UNIQUE_ID, kVendorUniqueId);
    w.setInt(NVEF_PROXIMITY_CAPABILITY_MASK, kCapabilityMask);
    w.setInt(NVEF_PROXIMITY_ENTER, proximity ? 1 : 0);
}

void NVMacFunc::fillPointerFields(NVWSEvent& e, const NVMacPenData& penData, int64_t)
{
    NVWSFieldWriter w(e);
    w.setInt(NVEF_TABLET_POINT_X, trunc_i64(penData.pos.x));
    w.setInt(NVEF_TABLET_POINT_Y, trunc_i64(penData.pos.y));
    w.setDouble(NVEF_TABLET_TILT_X, static_cast<double>(static_cast<float>(penData.pd.ax) / 64.0f));
    w.setDouble(NVEF_TABLET_TILT_Y, static_cast<double>(static_cast<float>(penData.pd.ay) / 64.0f));
    w.setInt(NVEF_TABLET_POINTER_DEVICE_ID, kDeviceId);
    w.setInt(NVEF_TABLET_POINT_Z, 0);
    w.setDouble(NVEF_TABLET_ROTATION, 0.0);
    w.setDouble(NVEF_TABLET_TANGENTIAL_PRESSURE, 0.0);
    w.setInt(NVEF_TABLET_POINTER_BUTTONS, penData.pd.ps ? 1 : 0);
    w.setDouble(NVEF_TABLET_POINTER_PRESSURE, pressure_of(penData.pd));
    w.setInt(NVEF_TABLET_VENDOR1, g_gi.ti.maxX);
    w.setInt(NVEF_TABLET_VENDOR2, g_gi.ti.maxY);
}

void NVMacFunc::fillMouseFields(NVWSEvent& e, const NVMacPenData& penData, const NVMacPenData& lastPenData,
                                int64_t clickState)
{
    NVWSFieldWriter w(e);
    w.setInt(NVEF_MOUSE_CLICK_STATE, clickState);
    w.setDouble(NVEF_MOUSE_PRESSURE, pressure_of(penData.pd));
    w.setInt(NVEF_MOUSE_BUTTON_NUMBER, 0);
    w.setInt(NVEF_MOUSE_DELTA_X, trunc_i64(penData.pos.x - lastPenData.pos.x));
    w.setInt(NVEF_MOUSE_DELTA_Y, trunc_i64(penData.pos.y - lastPenData.pos.y));
    w.setInt(NVEF_MOUSE_EVENT_NUMBER, glEventNumber);
}

void NVMacFunc::sendTabletProximityEvent(const NVMacPenData& penData, int64_t clickState, bool proximity)
{
    NVWSEvent& e = new_event(NVET_TABLET_PROXIMITY);
    fillProximityFields(e, penData, clickState, proximity);
    post(e);
}

void NVMacFunc::sendTabletPointerEvent(const NVMacPenData& penData, int64_t clickState)
{
    NVWSEvent& e = new_event(NVET_TABLET_POINTER);
    fillPointerFields(e, penData, clickState);
    if (gModifierKeyEventFlag)
        e.setFlags(gModifierKeyEventFlag);
    post(e);
}

void NVMacFunc::sendMouseProximityEvent(int32_t type, const NVMacPenData& penData, const NVMacPenData& lastPenData,
                                        int64_t clickState, bool proximity)
{
    NVWSEvent& e = mouse_event(gbOtherMouseDown ? NVET_OTHER_MOUSE_DRAGGED : type, penData.pos, NVMB_LEFT);
    e.subtype = NVMST_TABLET_PROXIMITY;
    fillProximityFields(e, penData, clickState, proximity);
    fillMouseFields(e, penData, lastPenData, clickState);
    post(e);
    glEventNumber += 1;
}

void NVMacFunc::sendMousePointerEvent(int32_t type, int32_t mouseButton, const NVMacPenData& penData,
                                      const NVMacPenData& lastPenData, int64_t clickState)
{
    NVWSEvent& e = mouse_event(gbRightMouseDown ? NVET_RIGHT_MOUSE_DRAGGED : type, penData.pos, mouseButton);
    e.subtype = NVMST_TABLET_POINT;
    fillPointerFields(e, penData, clickState);
    fillMouseFields(e, penData, lastPenData, clickState);
    if (gModifierKeyEventFlag)
        e.setFlags(gModifierKeyEventFlag);
    post(e);
}

void NVMacFunc::sendMouseEvent(int32_t button, NVScreenPoint mouseCursorPosition, int64_t clickState,
                               int32_t mouseEventType)
{
    switch (mouseEventType) {
    case NVET_OTHER_MOUSE_DOWN:
        button = NVMB_OTHER;
        gbOtherMouseDown = true;
        break;
    case NVET_OTHER_MOUSE_UP:
        gbOtherMouseDown = false;
        break;
    case NVET_RIGHT_MOUSE_DOWN:
        gbRightMouseDown = true;
        break;
    case NVET_RIGHT_MOUSE_UP:
        gbRightMouseDown = false;
        break;
    default:
        break;
    }
    NVWSEvent& e = mouse_event(mouseEventType, mouseCursorPosition, button);
    e.setInt(NVEF_MOUSE_CLICK_STATE, clickState);
    e.setInt(NVEF_MOUSE_EVENT_NUMBER, glEventNumber);
    post(e);
}

void NVMacFunc::sendScrollWheel(float, double offY)
{
    NVWSEvent& e = new_event(NVET_SCROLL_WHEEL);
    e.wheel1 = trunc_i32(offY);
    e.setFlags(gModifierKeyEventFlag);
    post(e);
}

void NVMacFunc::HIDPostVirtualModifier(uint64_t flags, uint16_t key)
{
    NVHIDEvent e;
    e.type = NVHID_FLAGS_CHANGED;
    e.keyCode = key;
    e.eventFlags = static_cast<uint32_t>(flags);
    e.options = 1;
    postHID(e);
}

void NVMacFunc::HIDPostVirtualKey(uint16_t key, bool up, uint32_t repeat)
{
    NVHIDEvent e;
    e.type = up ? NVHID_KEY_UP : NVHID_KEY_DOWN;
    e.keyCode = key;
    e.repeat = static_cast<uint8_t>(repeat & 0xff);
    e.eventFlags = kKeyEventFlags;
    postHID(e);
}

void NVMacFunc::sendKBKey(uint8_t key, bool bPress, uint64_t keyFlag)
{
    const uint16_t code = key == 255 ? 0 : key;
    if (bPress) {
        if (keyFlag)
            HIDPostVirtualModifier(keyFlag, code);
        HIDPostVirtualKey(code, false, keyRepeat);
        keyRepeat = 1;
    } else {
        keyRepeat = 0;
        HIDPostVirtualKey(code, true, 0);
        if (keyFlag)
            HIDPostVirtualModifier(0, code);
    }
}

void NVMacFunc::sendKeyDown(const NVKbtn* k)
{
    uint64_t flags = 0;
    const auto gather = [&flags](bool on, uint64_t flag) {
        if (!on)
            return;
        flags |= flag;
        HIDPostVirtualModifier(flags, 0);
    };
    gather(k->bCtrl, NVMF_CONTROL);
    gather(k->bAlt, NVMF_OPTION);
    gather(k->bShift, NVMF_SHIFT);
    gather(k->bWin, NVMF_COMMAND);
    gModifierKeyEventFlag = flags;

    if (k->kbKeys[0] == 0)
        return;
    if (only_first_key(k)) {
        sendKBKey(k->kbKeys[0], true, flags);
        return;
    }
    for (int i = 0; i < NV_KBKEYS_MAX && k->kbKeys[i]; ++i) {
        sendKBKey(k->kbKeys[i], true, flags);
        sendKBKey(k->kbKeys[i], false, flags);
    }
}

void NVMacFunc::sendKeyUp(const NVKbtn* k)
{
    gModifierKeyEventFlag = 0;
    const uint64_t flags = (k->bWin ? NVMF_COMMAND : 0) | (k->bShift ? NVMF_SHIFT : 0) |
                           (k->bAlt ? NVMF_OPTION : 0) | (k->bCtrl ? NVMF_CONTROL : 0);
    if (k->kbKeys[0] && only_first_key(k))
        sendKBKey(k->kbKeys[0], false, flags);
    if (k->bWin)
        sendKBKey(NVKC_COMMAND, false, flags);
    if (k->bShift)
        sendKBKey(NVKC_SHIFT, false, flags);
    if (k->bAlt)
        sendKBKey(NVKC_OPTION, false, flags);
    if (k->bCtrl)
        sendKBKey(NVKC_CONTROL, false, flags);
}

void NVMacFunc::sendKeyClick(const NVKbtn* k)
{
    sendKeyDown(k);
    sendKeyUp(k);
}

void NVMacFunc::launchAPP(const NVEkey* k)
{
    const std::string path = nv_percent_decode_lenient(nv_buffer_text(k->cmdPath));
    if (path.empty()) {
        nv_log("launchAPP: no path");
        return;
    }
    const std::vector<std::string> argv = nv_launch_argv(path);
    if (!g_launcher || !g_launcher->spawnDetached(argv))
        nv_log("launchAPP: cannot open %s", path.c_str());
}

void NVMacFunc::brushSwitch(bool bEraser)
{
    gbEraser = bEraser;
}

const std::string& NVMacFunc::inqueryActiveWindow()
{
    static const std::string none;
    return g_workspace ? g_workspace->frontmostOwnerName() : none;
}
