#include "core/input/NVDataHandler.h"

#include "core/config/NVConfigIO.h"
#include "core/device/libCross/nvParse.h"
#include "core/events/NVMacFunc.h"
#include "core/input/NVEncoderHandler.h"
#include "core/input/NVHbtnHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/input/NVPenHandler.h"
#include "core/input/NVSliderHandler.h"
#include "core/input/NVTouchHandler.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGlobalInfo.h"

#include <cstring>

uint8_t NVDataHandler::sendEKey_clickState = 0;
double NVDataHandler::sendEKey_lastTime = 0.0;
bool NVDataHandler::sendEKey_bEraser = false;

namespace {

constexpr double kDoubleClickInterval = 0.3;

} // namespace

NVDataHandler::NVDataHandler(DisplayList& displays, const Clock& clock, NotificationCenter* center,
                             NotificationCenter* workspaceCenter)
    : clock_(clock),
      coordMap_(displays),
      hbtnHandler_(std::make_unique<NVHbtnHandler>(*this)),
      penHandler_(std::make_unique<NVPenHandler>(*this)),
      sliderHandler_(std::make_unique<NVSliderHandler>(*this)),
      touchHandler_(std::make_unique<NVTouchHandler>(*this)),
      encoderHandler_(std::make_unique<NVEncoderHandler>(*this))
{
    if (center)
        notification_ = std::make_unique<NVNotificationDriverPeer>(this, *center, workspaceCenter);
    g_gi.bCalibrating = 0;
}

NVDataHandler::~NVDataHandler() { nv_log("NVDataHandler dealloc"); }

void NVDataHandler::handleData(const uint8_t* report)
{
    if (is_invalid_report(report))
        return;
    const uint8_t type = report_type(report);
    switch (type) {
    case 0x80: case 0x81: case 0x82: case 0x83: case 0x84: case 0x85: case 0x90: case 0x00:
        penHandler_->handleData(report);
        break;
    case 0xE0: hbtnHandler_->handleData(report); break;
    case 0xE1: touchHandler_->handleData(report); break;
    case 0xF0: sliderHandler_->handleData1(report); break;
    case 0xF1: encoderHandler_->handleData(report); break;
    default: nv_log("NVDataHandler handleData, unknow data type=%x", type); break;
    }
    std::memcpy(g_gi.lastReport, report, sizeof g_gi.lastReport);
}

void NVDataHandler::resetState()
{
    penHandler_->resetState();
    hbtnHandler_->resetState();
    sliderHandler_->resetState();
}

void NVDataHandler::sendMouseMove(double x, double y)
{
    mouseCursorPosition_ = {x, y};
    NVMacFunc::sendMouseEvent(NVMB_LEFT, mouseCursorPosition_, 0,
                              bTouchPanelDrag_ ? NVET_LEFT_MOUSE_DRAGGED : NVET_MOUSE_MOVED);
}

void NVDataHandler::performKey(NVEkey& k, uint32_t event)
{
    set_NVEkeyFuncType_all_event(&k.funcEvent, NVEKEVT_NONE);
    set_NVEkeyFuncType_event(static_cast<uint32_t>(k.funcBit), &k.funcEvent, event);
    sendEKey(&k);
}

void NVDataHandler::sendEKey(NVEkey* k)
{
    const uint32_t kinds = static_cast<uint32_t>(k->funcBit);
    auto has = [kinds](uint32_t kind) { return (kinds & kind) != 0; };
    auto e = [k](uint32_t kind) { return get_NVEkeyFuncType_event(kind, k->funcEvent); };
    uint8_t& clickState = sendEKey_clickState;

    nv_log("%.*s", static_cast<int>(strnlen(k->name, sizeof k->name)), k->name);
    if (has(NVEKT_MOUSE_LEFT) && e(NVEKT_MOUSE_LEFT) == NVEKEVT_DOWN) {
        const double now = clock_.now();
        if (now - sendEKey_lastTime < kDoubleClickInterval) {
            clickState = 1;
            sendEKey_lastTime = 0;
        } else {
            clickState = 0;
            sendEKey_lastTime = now;
        }
    }
    mouseCursorPosition_ = penData_.pos;

    if (has(NVEKT_MOUSE_LEFT)) {
        nv_log("NVEKT_MOUSE_LEFT clickState:%d", clickState + 1);
        mouseButton(e(NVEKT_MOUSE_LEFT), NVMB_LEFT, NVET_LEFT_MOUSE_DOWN, NVET_LEFT_MOUSE_UP);
    }
    if (has(NVEKT_MOUSE_RIGHT))
        mouseButton(e(NVEKT_MOUSE_RIGHT), NVMB_RIGHT, NVET_RIGHT_MOUSE_DOWN, NVET_RIGHT_MOUSE_UP);
    if (has(NVEKT_MOUSE_MID)) {
        switch (e(NVEKT_MOUSE_MID)) {
        case NVEKEVT_CLICK:
            nv_log("NVEKT_MOUSE_MID NVEKEVT_CLICK");
            postMouse(NVMB_OTHER, NVET_OTHER_MOUSE_DOWN);
            postMouse(NVMB_OTHER, NVET_OTHER_MOUSE_UP);
            break;
        case NVEKEVT_DOWN:
            nv_log("NVEKT_MOUSE_MID NVEKEVT_DOWN");
            if (bTouchPanelDrag_ == 0) {
                nv_log("NVEKT_MOUSE_MID kCGEventOtherMouseDown");
                bTouchPanelDrag_ = 1;
                postMouse(NVMB_OTHER, NVET_OTHER_MOUSE_DOWN);
            }
            break;
        case NVEKEVT_UP:
            nv_log("NVEKT_MOUSE_MID NVEKEVT_UP");
            bTouchPanelDrag_ = 0;
            postMouse(NVMB_OTHER, NVET_OTHER_MOUSE_UP);
            break;
        }
    }
    if (has(NVEKT_KBTN)) {
        switch (e(NVEKT_KBTN)) {
        case NVEKEVT_CLICK:
            nv_log("NVEKT_KBTN NVEKEVT_CLICK");
            NVMacFunc::sendKeyClick(&k->kbtn);
            break;
        case NVEKEVT_DOWN:
            nv_log("NVEKT_KBTN NVEKEVT_DOWN");
            NVMacFunc::sendKeyDown(&k->kbtn);
            break;
        case NVEKEVT_UP:
            nv_log("NVEKT_KBTN NVEKEVT_UP");
            NVMacFunc::sendKeyUp(&k->kbtn);
            break;
        }
    }
    // A launch on release too would start a second instance of the program.
    if (has(NVEKT_EXEC) && (e(NVEKT_EXEC) & NVEKEVT_DOWN) != 0) {
        nv_log("NVEKT_EXEC");
        NVMacFunc::launchAPP(k);
    }
    if (has(NVEKT_SWITCH_SCREEN) && e(NVEKT_SWITCH_SCREEN) != NVEKEVT_DOWN) {
        set_NVEkeyFuncType_event(NVEKT_SWITCH_SCREEN, &k->funcEvent, NVEKEVT_DOWN);
        coordMap_.switchScreen(g_gi.cfg.curScreenIndex + 1);
    }
    if (has(NVEKT_SWITCH_BRUSH) && e(NVEKT_SWITCH_BRUSH) != NVEKEVT_DOWN) {
        set_NVEkeyFuncType_event(NVEKT_SWITCH_BRUSH, &k->funcEvent, NVEKEVT_DOWN);
        sendEKey_bEraser = !sendEKey_bEraser;
        NVMacFunc::brushSwitch(sendEKey_bEraser);
        NVMacFunc::sendTabletProximityEvent(penData_, clickState + 1, true);
    }
    if (has(NVEKT_MOUSE_FORWARD))
        NVMacFunc::sendScrollWheel(0, 30);
    if (has(NVEKT_MOUSE_BACKWARD))
        NVMacFunc::sendScrollWheel(0, -30);
    if (has(NVEKT_MOUSE_LEFT) && e(NVEKT_MOUSE_LEFT) == NVEKEVT_UP && clickState == 1)
        clickState = 0;
    if (has(NVEKT_SWITCH_MUXFUNC) && e(NVEKT_SWITCH_MUXFUNC) == NVEKEVT_DOWN) {
        NVContextMEkey& m = nv_current_context().mekeys[0];
        // Without function sets there is nothing to switch to; the record holds at most four.
        const uint32_t sets = m.muxFuncNum < NV_MUXFUNC_MAX ? m.muxFuncNum : NV_MUXFUNC_MAX;
        if (sets == 0)
            return;
        m.index = static_cast<uint8_t>((m.index + 1u) % sets);
        if (notification_)
            notification_->notifyMMEkeyIndexChanged(m, static_cast<int32_t>(g_gi.cfg.curScreenIndex));
        NVConfigIO::writeDriverChange(&m, &g_gi.ti);
        if (notification_)
            notification_->notifyConfigChanged();
    }
}

void NVDataHandler::postMouse(int32_t button, int32_t type)
{
    NVMacFunc::sendMouseEvent(button, mouseCursorPosition_, sendEKey_clickState + 1, type);
}

void NVDataHandler::mouseButton(uint32_t event, int32_t button, int32_t downType, int32_t upType)
{
    switch (event) {
    case NVEKEVT_CLICK:
        postMouse(button, downType);
        postMouse(button, upType);
        break;
    case NVEKEVT_DOWN:
        bTouchPanelDrag_ = 1;
        postMouse(button, downType);
        break;
    case NVEKEVT_UP:
        bTouchPanelDrag_ = 0;
        postMouse(button, upType);
        break;
    }
}

void NVDataHandler::handleConfigChanged()
{
    coordMap_.refreshWorkarea();
    coordMap_.refreshScreens();
}

void NVDataHandler::handleCalibrateStart() { g_gi.bCalibrating = 1; }

void NVDataHandler::handleCalibrateEnd() { g_gi.bCalibrating = 0; }

void NVDataHandler::handleQuitDriver() {}

void NVDataHandler::willReplaceConfig() { resetState(); }
