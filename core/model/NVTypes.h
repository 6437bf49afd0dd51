// The shared records of the suite. NVConfig crosses processes as its byte image, so
// field order, widths and natural alignment are fixed and checked below.
#pragma once

#include <cstddef>
#include <cstdint>

struct NVPoint {
    int32_t x;
    int32_t y;
};

struct NVPointRatio {
    float x;
    float y;
};

struct NVSize {
    int32_t cx;
    int32_t cy;
};

struct NVRect {
    int32_t left;
    int32_t top;
    int32_t right;  // exclusive for hit tests
    int32_t bottom; // exclusive for hit tests
};

struct NVRectRatio {
    float left;
    float top;
    float right;
    float bottom;
};

struct NVTabletInfo {
    uint32_t devType;
    uint32_t oemType;
    uint32_t maxX;
    uint32_t maxY;
    uint16_t maxP;
    uint16_t lpi;
    uint16_t rate;
    uint8_t hbtnNum;
    uint8_t sbtnNum;
    uint8_t pbtnNum;
    uint8_t reserved0[2];
    uint8_t bMonitor;
    char sDevVer[32];
    char reserved1[64];
};

constexpr int NV_KBKEYS_MAX = 16;
constexpr int NV_EKEY_MAX = 16;       // keys per collection and positions per set
constexpr int NV_MUXFUNC_MAX = 4;     // function sets of a multi-function key
constexpr int NV_MEKEY_MAX = 2;       // multi-function keys per context
constexpr int NV_CONTEXT_MAX = 8;     // context 0 is the default
constexpr int NV_STR_MAX = 256;       // every char buffer of the configuration

struct NVKbtn {
    int8_t ekid;
    uint8_t bCtrl;
    uint8_t bAlt;
    uint8_t bShift;
    uint8_t bWin;
    // macOS virtual key codes; 0 ends the list, 255 stands for key code 0.
    uint8_t kbKeys[NV_KBKEYS_MAX];
};

struct NVEkey {
    uint64_t funcBit;
    uint64_t funcEvent; // runtime only, never stored
    char name[NV_STR_MAX];
    char cmdPath[NV_STR_MAX];
    NVKbtn kbtn;
};

struct NVMultiEKey {
    uint8_t reserved;
    NVEkey ekeys[NV_EKEY_MAX];
};

struct NVContextMEkey {
    uint8_t num;
    uint8_t muxFuncNum;
    uint8_t index;
    NVMultiEKey muxfunc[NV_MUXFUNC_MAX];
};

struct NVContextEkeys {
    char appName[NV_STR_MAX];
    char appPath[NV_STR_MAX];
    NVEkey hbtns[NV_EKEY_MAX];
    NVEkey sbtns[NV_EKEY_MAX];
    NVEkey pbtns[NV_EKEY_MAX];
    uint8_t mekeyNum;
    NVContextMEkey mekeys[NV_MEKEY_MAX];
};

struct NVConfig {
    uint8_t bImproveLinearity;
    uint8_t reserved0;
    uint8_t bEnableHBtn;
    uint8_t bEnableSBtn;
    uint8_t bEnableMBtn;
    uint8_t bCtrlCursor;
    uint8_t bCalibrated;
    uint8_t bAbsoluteMode;
    uint32_t curScreenIndex;
    int32_t calibrateFactor[7];
    int32_t pressFactor;
    uint32_t rotateAngle;
    uint32_t reserved1;
    NVRectRatio workarea;
    NVRectRatio reserved2;
    NVContextEkeys contexts[NV_CONTEXT_MAX];
};

struct NVPenData {
    NVPoint pt;
    NVPointRatio pr;
    uint32_t ps;
    int8_t ax;
    int8_t ay;
    uint8_t btn;
};

// Global display coordinates, origin at the top left of the main display.
struct NVScreenPoint {
    double x;
    double y;
};

struct NVMacPenData {
    NVPenData pd;
    NVScreenPoint pos;
};

struct NVLayoutEkey {
    NVRect rect;
    NVRect inRect; // hole of a ring-shaped key; zero for plain keys
    int32_t centerX;
    int32_t centerY;
};

struct NVMEkeyName {
    uint32_t num;
    char** names; // num owned buffers of NV_STR_MAX bytes
};

struct NVLayoutTablet {
    NVSize size;
    NVRect workarea;
    uint32_t hbtnNum;
    NVLayoutEkey* hbtns; // view into ekLayouts
    uint32_t sbtnNum;
    NVLayoutEkey* sbtns; // view into ekLayouts
    NVRect sbtnInRect;
    uint32_t mekeyNum;
    NVLayoutEkey* mekeys; // view into ekLayouts
    NVMEkeyName* mekeyNames;
    uint32_t ekNum;
    NVLayoutEkey* ekLayouts; // the one owned key array
    // What realloc_NVTabletLayout allocated: the counts read from a layout file may
    // disagree with the configuration, and freeing walks only what exists.
    uint32_t ekLayoutsAlloc;
    uint32_t mekeyNamesAlloc;
};

struct NVLayoutPen {
    NVSize size;
    uint32_t ekNum;
    NVLayoutEkey* ekLayouts;
};

// Sizes and offsets that other processes and the stored files rely on.
static_assert(sizeof(NVKbtn) == 21);
static_assert(sizeof(NVEkey) == 552);
static_assert(offsetof(NVEkey, name) == 16);
static_assert(offsetof(NVEkey, cmdPath) == 272);
static_assert(offsetof(NVEkey, kbtn) == 528);
static_assert(sizeof(NVMultiEKey) == 8840);
static_assert(offsetof(NVMultiEKey, ekeys) == 8);
static_assert(sizeof(NVContextMEkey) == 35368);
static_assert(offsetof(NVContextMEkey, muxfunc) == 8);
static_assert(sizeof(NVContextEkeys) == 97752);
static_assert(offsetof(NVContextEkeys, hbtns) == 512);
static_assert(offsetof(NVContextEkeys, sbtns) == 9344);
static_assert(offsetof(NVContextEkeys, pbtns) == 18176);
static_assert(offsetof(NVContextEkeys, mekeyNum) == 27008);
static_assert(offsetof(NVContextEkeys, mekeys) == 27016);
static_assert(offsetof(NVConfig, curScreenIndex) == 8);
static_assert(offsetof(NVConfig, calibrateFactor) == 12);
static_assert(offsetof(NVConfig, pressFactor) == 40);
static_assert(offsetof(NVConfig, rotateAngle) == 44);
static_assert(offsetof(NVConfig, workarea) == 52);
static_assert(offsetof(NVConfig, contexts) == 88);
static_assert(sizeof(NVConfig) == 782104);
static_assert(sizeof(NVTabletInfo) == 124);
static_assert(offsetof(NVTabletInfo, sDevVer) == 28);
