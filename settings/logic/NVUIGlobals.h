// The settings application's per-process record and the globals every page shares.
// Everything that touches them runs on the application's main thread, so there are no locks.
#pragma once

#include "core/model/NVTypes.h"

#include <cstdint>

// One row of the key-name table: a virtual key code and its printable name.
struct KBTable {
    uint8_t code;
    char name[16]; // NUL-terminated UTF-8
};

constexpr int NV_KBTABLE_ROWS = 68;

struct NVUIGlobals {
    NVTabletInfo ti;
    NVConfig cfg;
    NVLayoutTablet tabletLayout;
    NVRectRatio tabletAreaRatio; // tabletLayout.workarea over tabletLayout.size
    NVLayoutPen penLayout;
    KBTable kbTable[NV_KBTABLE_ROWS];
    bool bTabletOpened; // a tablet of this brand flavour is connected
};

extern NVUIGlobals g_ui;
extern uint8_t g_USER_DEBUG;
extern bool didNeedUpdate;
extern int32_t currentAppIndex;
extern int32_t currentMMKeyFuncIndex;

// Process start: debug output off and the key-name table filled.
void nv_ui_globals_init();
// Process end: frees what the configuration and the layouts own.
void nv_ui_globals_free();

// The 68 key-name rows. The letter A carries code 255, because code 0 marks an empty key
// slot; the event side turns 255 back into virtual key 0.
void nv_fill_kbTable(KBTable (&table)[NV_KBTABLE_ROWS]);
