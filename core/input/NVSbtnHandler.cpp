#include "core/input/NVSbtnHandler.h"

#include "core/input/NVDataHandler.h"
#include "core/input/NVKeyLookup.h"
#include "core/model/NVEkeyFunc.h"
#include "core/model/NVGeometry.h"
#include "core/model/NVGlobalInfo.h"

#include <algorithm>

namespace {

constexpr int kFixedKeys = 16;

struct FixedStrip {
    int32_t edges[kFixedKeys][2]; // left, right of each key
    int32_t bottom;
};

// Models whose soft keys are printed at fixed places, in tablet units; every key has top 0.
constexpr FixedStrip kR330PlusV2{{{0, 2550}, {2551, 5700}, {5701, 8900}, {8901, 12130}, {12131, 15391},
                                  {15391, 18490}, {18491, 21800}, {21801, 24970}, {24791, 28250},
                                  {28251, 31515}, {31516, 34750}, {34751, 37890}, {37891, 41156},
                                  {41157, 44324}, {44325, 47580}, {47581, 50800}},
                                 1850};
constexpr FixedStrip kR330PlusV2WithPower{{{0, 2924}, {2925, 6107}, {6108, 9320}, {9321, 12505}, {12506, 15677},
                                           {15678, 18819}, {18820, 21940}, {21941, 25207}, {25208, 28360},
                                           {28361, 31599}, {31560, 34825}, {34826, 37942}, {37943, 41105},
                                           {41106, 44339}, {44340, 47447}, {47448, 50800}},
                                          1800};
constexpr FixedStrip kQ27b{{{750, 3750}, {3751, 6751}, {6752, 9800}, {10200, 13399}, {13400, 16499},
                            {16500, 19649}, {19650, 22679}, {22670, 25999}, {26000, 29199}, {29200, 32499},
                            {32500, 35695}, {35696, 38896}, {38897, 41997}, {41998, 44998}, {44999, 47999},
                            {48000, 50800}},
                           1800};
constexpr FixedStrip kP904z{{{0, 2370}, {2371, 4944}, {4945, 7483}, {7484, 10077}, {10078, 12642},
                             {12643, 15193}, {15194, 17815}, {17816, 20378}, {20379, 22987}, {22988, 25519},
                             {25520, 28145}, {28146, 30655}, {30656, 33206}, {33207, 35816}, {35817, 38382},
                             {38383, 40880}},
                            700};
constexpr int32_t kP904zKey15Bottom = 700888;

const FixedStrip* fixed_strip(uint32_t devType)
{
    switch (devType) {
    case 87: return &kR330PlusV2;
    case 19: return &kR330PlusV2WithPower;
    case 21:
    case 25: return &kQ27b;
    case 39: return &kP904z;
    default: return nullptr;
    }
}

} // namespace

NVSbtnHandler::NVSbtnHandler(NVDataHandler& handler) : handler_(handler)
{
    const NVTabletInfo& ti = g_gi.ti;
    const NVLayoutTablet& layout = g_gi.tabletLayout;
    const NVRect tablet{0, 0, static_cast<int32_t>(ti.maxX), static_cast<int32_t>(ti.maxY)};
    project_rect_to_rect(&layout.workarea, &layout.sbtnInRect, &tablet, &g_gi.sbtnInRect);

    if (const FixedStrip* strip = fixed_strip(ti.devType)) {
        sbtnRects_.assign(std::max<size_t>(ti.sbtnNum, kFixedKeys), NVRect{});
        for (int i = 0; i < kFixedKeys; ++i)
            sbtnRects_[i] = {strip->edges[i][0], 0, strip->edges[i][1], strip->bottom};
        if (strip == &kP904z)
            sbtnRects_[15].bottom = kP904zKey15Bottom;
        return;
    }
    // Keys the layout does not describe keep an empty rectangle, which nothing hits.
    sbtnRects_.assign(ti.sbtnNum, NVRect{});
    const uint32_t described = std::min<uint32_t>(ti.sbtnNum, layout.sbtns ? layout.sbtnNum : 0);
    for (uint32_t i = 0; i < described; ++i)
        project_rect_to_rect(&layout.workarea, &layout.sbtns[i].rect, &tablet, &sbtnRects_[i]);
}

void NVSbtnHandler::record1stPoint(const NVPoint* p)
{
    if (g_gi.cfg.bEnableSBtn && isInSoftkeyArea(p)) {
        bHandle_ = true;
        firstPt_ = *p;
    }
}

bool NVSbtnHandler::onDown(const NVPoint* p)
{
    if (!bHandle_)
        return false;
    if (isInSoftkeyArea(p))
        return true;
    // The pen moved into the drawing area: the contact goes on as a stroke.
    bHandle_ = false;
    return false;
}

bool NVSbtnHandler::onUp(const NVPoint* p)
{
    if (!bHandle_)
        return false;
    bHandle_ = false;
    const uint32_t keys = std::min<uint32_t>(g_gi.ti.sbtnNum, NV_EKEY_MAX);
    if (!isInSoftkeyArea(p) || keys == 0)
        return false;
    for (uint32_t i = 0; i < keys; ++i) {
        if (is_pt_in_rect(p, &sbtnRects_[i]) && is_pt_in_rect(&firstPt_, &sbtnRects_[i])) {
            NVEkey& k = nv_current_context().sbtns[i];
            set_NVEkeyFuncType_all_event(&k.funcEvent, NVEKEVT_NONE);
            set_NVEkeyFuncType_event(NVEKT_KBTN, &k.funcEvent, NVEKEVT_CLICK);
            handler_.sendEKey(&k);
            return true;
        }
    }
    return false;
}

bool NVSbtnHandler::isInSoftkeyArea(const NVPoint* p) const
{
    // A tablet without soft keys has no strip, whatever the switch says: the whole area
    // draws (the screen mapping makes the same choice).
    return g_gi.ti.sbtnNum != 0 && !is_pt_in_rect(p, &g_gi.sbtnInRect);
}
