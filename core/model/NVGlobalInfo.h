// The agent's per-process record and the context in force for the frontmost application.
// Everything that touches them runs on the agent's one main loop, so there are no locks.
#pragma once

#include "core/model/NVTypes.h"

struct NVGlobalInfo {
    NVTabletInfo ti;
    NVConfig cfg;
    NVLayoutTablet tabletLayout;
    NVRect sbtnInRect;        // area inside the soft-key strip, tablet units
    uint8_t lastReport[12];   // last valid report
    uint8_t bCalibrating;     // the settings application is calibrating a pen display
    uint32_t hidConnect;      // keyboard connection; 0 while closed
};

extern NVGlobalInfo g_gi;
extern int32_t currentAppIndex_kernel;
