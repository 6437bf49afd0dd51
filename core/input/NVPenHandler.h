// The pen: decodes each pen report, runs the pressure curve, the display calibration,
// relative motion and the screen mapping, then posts events by the transition between
// the previous report type and this one.
#pragma once

#include "core/input/NVSbtnHandler.h"
#include "core/model/NVTypes.h"

#include <cstdint>

class NVDataHandler;

class NVPenHandler {
public:
    // Process-wide state of the pen path (one tablet at a time).
    static double handleData_lastTime;     // previous pen report
    static double onPenDown_lastTime;      // previous tip-down
    static int32_t coordinateToMouseMode_data_cnt;  // samples since entering range
    static NVPoint coordinateToMouseMode_lastPt;    // previous tablet point
    static NVPoint coordinateToMouseMode_lastPtPost; // virtual position produced last

    explicit NVPenHandler(NVDataHandler& handler);

    void handleData(const uint8_t* report);
    // Ends a tip contact or a held barrel button.
    void resetState();

    uint8_t lastDataType() const { return lastDataType_; }
    int32_t clickCount() const { return clickCount_; }

private:
    bool convertXY();
    void coordinateToMouseMode(NVPoint* p);
    void onHover();
    void onPenDown();
    void onPenUp();
    void onBtnDown(int n);
    void onBtnUp(int n);
    void pointerMove();

    NVDataHandler& handler_;
    NVMacPenData* penData_;
    uint8_t dataType_ = 0x80;
    uint8_t lastDataType_ = 0x80;
    NVMacPenData lastPenData_{};
    NVSbtnHandler sbtnHandler_;
    NVPenData penDataToCalibrate_{};
    int32_t clickCount_ = 0;
    bool b1stOfProximity_ = false;
};
