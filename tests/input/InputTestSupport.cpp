#include "tests/input/InputTestSupport.h"

#include "core/channel/NVNotificationNames.h"
#include "core/input/NVPenHandler.h"
#include "core/input/NVSliderHandler.h"
#include "core/input/NVTouchHandler.h"

#include <cstdio>

namespace nvtest {

void reset_globals(uint32_t maxX, uint32_t maxY)
{
    std::memset(&g_gi.ti, 0, sizeof g_gi.ti);
    std::memset(&g_gi.cfg, 0, sizeof g_gi.cfg);
    std::memset(&g_gi.tabletLayout, 0, sizeof g_gi.tabletLayout);
    g_gi.sbtnInRect = {};
    std::memset(g_gi.lastReport, 0, sizeof g_gi.lastReport);
    g_gi.bCalibrating = 0;
    currentAppIndex_kernel = 0;
    g_gi.ti.maxX = maxX;
    g_gi.ti.maxY = maxY;
    g_gi.ti.maxP = 8191;
    g_gi.cfg.workarea = {0.0f, 0.0f, 1.0f, 1.0f};
}

void reset_input_statics()
{
    NVDataHandler::sendEKey_clickState = 0;
    NVDataHandler::sendEKey_lastTime = 0;
    NVDataHandler::sendEKey_bEraser = false;
    NVPenHandler::handleData_lastTime = 0;
    NVPenHandler::onPenDown_lastTime = 0;
    NVPenHandler::coordinateToMouseMode_data_cnt = 0;
    NVPenHandler::coordinateToMouseMode_lastPt = {0, 0};
    NVPenHandler::coordinateToMouseMode_lastPtPost = {0, 0};
    NVSliderHandler::last_slider_id = 0;
    NVTouchHandler::lastIndex = -1;
    NVMacFunc::resetState();
}

namespace {

std::vector<uint8_t> report(uint8_t type)
{
    std::vector<uint8_t> r(12, 0);
    r[0] = 0x08;
    r[1] = type;
    return r;
}

} // namespace

std::vector<uint8_t> pen_report(uint8_t type, uint32_t x, uint32_t y, uint16_t pressure, int8_t ax, int8_t ay)
{
    std::vector<uint8_t> r = report(type);
    r[2] = x & 0xFF;
    r[3] = (x >> 8) & 0xFF;
    r[4] = y & 0xFF;
    r[5] = (y >> 8) & 0xFF;
    r[6] = pressure & 0xFF;
    r[7] = pressure >> 8;
    r[8] = (x >> 16) & 0xFF;
    r[9] = (y >> 16) & 0xFF;
    r[10] = static_cast<uint8_t>(ax);
    r[11] = static_cast<uint8_t>(ay);
    return r;
}

std::vector<uint8_t> hbtn_report(uint32_t code)
{
    std::vector<uint8_t> r = report(0xE0);
    for (int i = 0; i < 4; ++i)
        r[4 + i] = (code >> (8 * i)) & 0xFF;
    return r;
}

std::vector<uint8_t> slider_report(uint8_t position)
{
    std::vector<uint8_t> r = report(0xF0);
    r[5] = position;
    return r;
}

std::vector<uint8_t> dial_report(uint8_t direction)
{
    std::vector<uint8_t> r = report(0xF1);
    r[5] = direction;
    return r;
}

std::vector<uint8_t> touch_report(uint16_t id)
{
    std::vector<uint8_t> r = report(0xE1);
    r[4] = id & 0xFF;
    r[5] = id >> 8;
    return r;
}

std::string describe(const NVRecordedEvent& rec)
{
    char buf[64];
    if (rec.isHID) {
        const NVHIDEvent& h = rec.hid;
        if (h.type == NVHID_FLAGS_CHANGED)
            std::snprintf(buf, sizeof buf, "flags%x", h.eventFlags);
        else
            std::snprintf(buf, sizeof buf, "%s%u", h.type == NVHID_KEY_DOWN ? "kdown" : "kup", h.keyCode);
        return buf;
    }
    const NVWSEvent& e = rec.ws;
    auto field = [&e](uint32_t n) {
        const NVWSField* f = e.field(n);
        return f ? f->i : -1;
    };
    const char* name = nullptr;
    switch (e.type) {
    case NVET_TABLET_PROXIMITY:
        std::snprintf(buf, sizeof buf, "prox%lld", static_cast<long long>(field(NVEF_PROXIMITY_ENTER)));
        return buf;
    case NVET_TABLET_POINTER: return "tptr";
    case NVET_SCROLL_WHEEL:
        std::snprintf(buf, sizeof buf, "scroll%d", e.wheel1);
        return buf;
    case NVET_LEFT_MOUSE_DOWN: name = "ldown"; break;
    case NVET_LEFT_MOUSE_UP: name = "lup"; break;
    case NVET_RIGHT_MOUSE_DOWN: name = "rdown"; break;
    case NVET_RIGHT_MOUSE_UP: name = "rup"; break;
    case NVET_MOUSE_MOVED: name = "moved"; break;
    case NVET_LEFT_MOUSE_DRAGGED: name = "ldrag"; break;
    case NVET_RIGHT_MOUSE_DRAGGED: name = "rdrag"; break;
    case NVET_OTHER_MOUSE_DOWN: name = "odown"; break;
    case NVET_OTHER_MOUSE_UP: name = "oup"; break;
    case NVET_OTHER_MOUSE_DRAGGED: name = "odrag"; break;
    default: std::snprintf(buf, sizeof buf, "type%d", e.type); return buf;
    }
    std::string s = name;
    s += "(" + std::to_string(e.button) + "," + std::to_string(field(NVEF_MOUSE_CLICK_STATE)) + ")";
    if (e.subtype == NVMST_TABLET_PROXIMITY)
        s += "+prox" + std::to_string(field(NVEF_PROXIMITY_ENTER));
    return s;
}

InputTest::InputTest()
{
    reset_globals(10000, 8000);
    reset_input_statics();
    clock.set(100.0);
    NVMacFunc::setWindowSystem(&ws);
    NVMacFunc::setWorkspace(&workspace);
    NVMacFunc::setProcessLauncher(&launcher);
    g_gi.hidConnect = ws.connectKeyboard();
}

InputTest::~InputTest()
{
    handler.reset();
    NVMacFunc::setWindowSystem(nullptr);
    NVMacFunc::setWorkspace(nullptr);
    NVMacFunc::setProcessLauncher(nullptr);
    g_gi.hidConnect = 0;
}

void InputTest::start() { handler = std::make_unique<NVDataHandler>(displays, clock, &center); }

AnnouncementLog::AnnouncementLog(NotificationCenter& center)
{
    center.observe(nvNotificationToUIPenData, [this](const std::string&, const NVPlistDict& info) {
        calls.push_back("penData " + std::to_string(nv_plist_int(info, "X")) + "," +
                        std::to_string(nv_plist_int(info, "Y")) + " " + std::to_string(nv_plist_int(info, "Pressure")));
    });
    center.observe(nvNotificationContextMEkeyChanged, [this](const std::string&, const NVPlistDict& info) {
        calls.push_back("muxIndex " + std::to_string(nv_plist_int(info, "muxIndex")) + " screen " +
                        std::to_string(nv_plist_int(info, "screenToDisplay")));
    });
    center.observe(nvNotificationToDriverConfigChanged,
                   [this](const std::string&, const NVPlistDict&) { calls.push_back("configChanged"); });
}

std::vector<std::string> InputTest::take()
{
    std::vector<std::string> out;
    for (const NVRecordedEvent& e : ws.events())
        out.push_back(describe(e));
    ws.clear();
    return out;
}

void set_key(NVEkey& k, uint32_t kinds, const char* name)
{
    std::memset(&k, 0, sizeof k);
    k.funcBit = kinds;
    std::snprintf(k.name, sizeof k.name, "%s", name);
}

} // namespace nvtest
