#include "core/input/NVPenHandler.h"

#include "core/device/libCross/nvParse.h"
#include "core/events/NVMacFunc.h"
#include "core/input/NVDataHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGeometry.h"
#include "core/model/NVGlobalInfo.h"

#include <string_view>

double NVPenHandler::handleData_lastTime = 0.0;
double NVPenHandler::onPenDown_lastTime = 0.0;
int32_t NVPenHandler::coordinateToMouseMode_data_cnt = 0;
NVPoint NVPenHandler::coordinateToMouseMode_lastPt = {0, 0};
NVPoint NVPenHandler::coordinateToMouseMode_lastPtPost = {0, 0};

namespace {

constexpr double kOutOfRangeGap = 0.3; // longer silences mean the pen left and came back
constexpr double kMultiTapInterval = 0.23;

// Programs that take the pen's proximity from their own tablet handling: a second
// proximity at each contact would upset their strokes.
bool handles_own_proximity(std::string_view owner)
{
    for (std::string_view name : {"Affinity", "Paintbrush", "Mischief", "Highland"})
        if (owner.find(name) != std::string_view::npos)
            return true;
    return false;
}

} // namespace

NVPenHandler::NVPenHandler(NVDataHandler& handler)
    : handler_(handler), penData_(&handler.penData()), sbtnHandler_(handler)
{
}

void NVPenHandler::handleData(const uint8_t* report)
{
    const double now = handler_.clock().now();
    if (now - handleData_lastTime > kOutOfRangeGap)
        b1stOfProximity_ = true;
    handleData_lastTime = now;

    dataType_ = report_type(report);
    NVPenData& pd = penData_->pd;
    pd.pt = {static_cast<int32_t>(report_x(report)), static_cast<int32_t>(report_y(report))};
    pd.ps = calibrate_press(&g_gi.cfg, report_p(report), g_gi.ti.maxP);
    pd.ax = report_ax(report);
    pd.ay = report_ay(report);
    if (!convertXY())
        return;

    const uint8_t last = lastDataType_;
    switch (dataType_) {
    case 0x80:
        if (last == 0x82 || last == 0x83)
            onBtnUp(1);
        else if (last == 0x85)
            onBtnUp(2);
        else
            onHover();
        break;
    case 0x81:
        if (last == 0x83)
            onBtnUp(1);
        else if (last == 0x85)
            onBtnUp(2);
        else
            onPenDown();
        break;
    case 0x82:
        if (last == 0x83)
            onPenUp();
        else
            onBtnDown(1);
        pointerMove();
        break;
    case 0x84:
        if (last == 0x85)
            onPenUp();
        else
            onBtnDown(2);
        pointerMove();
        break;
    case 0x83:
    case 0x85:
        onPenDown();
        break;
    case 0x90:
        if (g_gi.cfg.bEnableMBtn == 0)
            return;
        onHover();
        break;
    default:
        break;
    }
    lastDataType_ = dataType_;
    lastPenData_ = *penData_;
}

void NVPenHandler::resetState()
{
    if (lastDataType_ != 0x80)
        onHover();
}

bool NVPenHandler::convertXY()
{
    penDataToCalibrate_ = penData_->pd;
    if (!g_gi.bCalibrating)
        calibrate_point(&g_gi.ti, &g_gi.cfg, &penData_->pd.pt);
    if (g_gi.cfg.bAbsoluteMode == 0)
        coordinateToMouseMode(&penData_->pd.pt);
    penData_->pos = handler_.coordMap().mapToScreen(penData_->pd.pt);
    return g_gi.cfg.bCtrlCursor != 0 || g_gi.ti.bMonitor != 0;
}

void NVPenHandler::coordinateToMouseMode(NVPoint* p)
{
    int32_t& cnt = coordinateToMouseMode_data_cnt;
    NVPoint& lastPt = coordinateToMouseMode_lastPt;
    NVPoint& lastPtPost = coordinateToMouseMode_lastPtPost;
    if (b1stOfProximity_) {
        cnt = 1;
        *p = lastPtPost;
        return;
    }
    if (cnt <= 4) {
        ++cnt;
        *p = lastPtPost;
        return;
    }
    if (cnt == 5) {
        lastPt = *p;
        *p = lastPtPost;
        cnt = 6;
        return;
    }
    // Twice the pen's motion, bounded to the tablet.
    const int64_t nx = lastPtPost.x + 2 * (static_cast<int64_t>(p->x) - lastPt.x);
    const int64_t ny = lastPtPost.y + 2 * (static_cast<int64_t>(p->y) - lastPt.y);
    const int64_t maxX = g_gi.ti.maxX, maxY = g_gi.ti.maxY;
    lastPt = *p;
    lastPtPost = {static_cast<int32_t>(nx > 0 ? (nx < maxX ? nx : maxX) : 0),
                  static_cast<int32_t>(ny > 0 ? (ny < maxY ? ny : maxY) : 0)};
    *p = lastPtPost;
}

void NVPenHandler::onHover()
{
    const NVConfig& cfg = g_gi.cfg;
    switch (lastDataType_) {
    case 0x80:
    case 0x90:
        if (g_gi.ti.bMonitor && g_gi.bCalibrating)
            return;
        if (cfg.bEnableSBtn) {
            b1stOfProximity_ = false;
            if (sbtnHandler_.isInSoftkeyArea(&penData_->pd.pt))
                return;
        }
        if (b1stOfProximity_) {
            b1stOfProximity_ = false;
            clickCount_ = 0;
            NVMacFunc::sendTabletProximityEvent(*penData_, clickCount_, true);
            NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, *penData_, lastPenData_, clickCount_, true);
        }
        if (cfg.bImproveLinearity)
            NVMacFunc::sendTabletPointerEvent(*penData_, clickCount_);
        NVMacFunc::sendMousePointerEvent(NVET_MOUSE_MOVED, NVMB_LEFT, *penData_, lastPenData_, clickCount_);
        break;
    case 0x81:
    case 0x83:
    case 0x85:
        onPenUp();
        break;
    case 0x82:
        onBtnUp(1);
        break;
    case 0x84:
        onBtnUp(2);
        break;
    default:
        break;
    }
    lastDataType_ = 0x80;
}

void NVPenHandler::onPenDown()
{
    const NVConfig& cfg = g_gi.cfg;
    const NVPoint& pt = penData_->pd.pt;
    if (g_gi.ti.bMonitor && g_gi.bCalibrating) {
        if (lastDataType_ == 0x80 && handler_.notification())
            handler_.notification()->notifyPenData(penDataToCalibrate_);
        return;
    }
    if (cfg.bEnableSBtn) {
        if (lastDataType_ != 0x81)
            sbtnHandler_.record1stPoint(&pt);
        if (sbtnHandler_.onDown(&pt))
            return;
    }
    const bool first = lastDataType_ == 0x80 || lastDataType_ == 0x82 || lastDataType_ == 0x84;
    if (first) {
        const double now = handler_.clock().now();
        if (now - onPenDown_lastTime < kMultiTapInterval && clickCount_ > 0)
            ++clickCount_;
        else
            clickCount_ = 1;
        onPenDown_lastTime = now;
        if (clickCount_ == 2) {
            NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_DOWN, NVMB_LEFT, *penData_, lastPenData_, 2);
            return;
        }
    }
    if (lastDataType_ == 0x80 && !handles_own_proximity(NVMacFunc::inqueryActiveWindow())) {
        NVMacFunc::sendTabletProximityEvent(*penData_, clickCount_, true);
        NVMacFunc::sendMouseProximityEvent(NVET_LEFT_MOUSE_DRAGGED, *penData_, lastPenData_, clickCount_, true);
    }
    if (cfg.bImproveLinearity)
        NVMacFunc::sendTabletPointerEvent(*penData_, clickCount_);
    NVMacFunc::sendMousePointerEvent(first ? NVET_LEFT_MOUSE_DOWN : NVET_LEFT_MOUSE_DRAGGED, NVMB_LEFT, *penData_,
                                     lastPenData_, clickCount_);
}

void NVPenHandler::onPenUp()
{
    const NVConfig& cfg = g_gi.cfg;
    if (g_gi.ti.bMonitor && g_gi.bCalibrating)
        return;
    if (cfg.bEnableSBtn && sbtnHandler_.onUp(&penData_->pd.pt))
        return;
    if (lastDataType_ == 0x81 && cfg.bImproveLinearity)
        NVMacFunc::sendMouseProximityEvent(NVET_MOUSE_MOVED, *penData_, lastPenData_, clickCount_, false);
    if (cfg.bImproveLinearity)
        NVMacFunc::sendTabletPointerEvent(*penData_, clickCount_);
    NVMacFunc::sendMousePointerEvent(NVET_LEFT_MOUSE_UP, NVMB_LEFT, *penData_, lastPenData_, clickCount_);
    if (clickCount_ == 3)
        clickCount_ = 0;
}

void NVPenHandler::onBtnDown(int n)
{
    if ((lastDataType_ | 0x80) != 0x80)
        return;
    handler_.performKey(nv_current_context().pbtns[n], NVEKEVT_DOWN);
}

void NVPenHandler::onBtnUp(int n)
{
    nv_log("onBtnUp");
    handler_.performKey(nv_current_context().pbtns[n], NVEKEVT_UP);
}

void NVPenHandler::pointerMove() { handler_.sendMouseMove(penData_->pos.x, penData_->pos.y); }
