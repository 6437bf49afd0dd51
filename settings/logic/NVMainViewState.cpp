#include "settings/logic/NVMainViewState.h"

const char* nv_tab_page_id(int tag)
{
    static constexpr const char* ids[NVTAB_COUNT] = {"VCEkey", "VCPen", "VCWorkarea", "VCInfo"};
    return tag >= 0 && tag < NVTAB_COUNT ? ids[tag] : nullptr;
}

void NVMainViewState::openTablet()
{
    opened_ = true;
    controls_.tabs.fill(true);
    controls_.importBtn = controls_.exportBtn = controls_.defaultBtn = true;
    controls_.ok = controls_.apply = false;
    switchTo(NVTAB_INFO);
}

void NVMainViewState::closeTablet()
{
    opened_ = false;
    controls_ = NVMainControls{};
    switchTo(NVTAB_INFO);
}

void NVMainViewState::edited()
{
    controls_.ok = controls_.apply = true;
}

void NVMainViewState::applied()
{
    controls_.ok = controls_.apply = false;
}

bool NVMainViewState::switchTo(int tag)
{
    if (!nv_tab_page_id(tag))
        return false;
    if (opened_) {
        controls_.tabs.fill(true);
        controls_.tabs[tag] = false;
    }
    page_ = tag;
    return true;
}
