// Delegates that record what the peers hand them, and a clean agent record per test.
#pragma once

#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/NVNotificationUIPeer.h"
#include "core/model/NVGlobalInfo.h"

#include <cstring>
#include <functional>
#include <vector>

struct RecordingDriverDelegate : NVProtocolNotificationDriverPeer {
    int configChanged = 0;
    int calibrateStart = 0;
    int calibrateEnd = 0;
    int willReplace = 0;
    std::function<void()> onWillReplace;

    void handleConfigChanged() override { ++configChanged; }
    void handleCalibrateStart() override { ++calibrateStart; }
    void handleCalibrateEnd() override { ++calibrateEnd; }
    void willReplaceConfig() override
    {
        ++willReplace;
        if (onWillReplace)
            onWillReplace();
    }
};

struct RecordingUIDelegate : NVProtocolNotificationUIPeer {
    int configChanged = 0;
    int removeApp = 0;
    std::vector<NVTabletInfo> tabletInfos;
    std::vector<NVPenData> penData;

    void handleConfigChanged() override { ++configChanged; }
    void handleTabletInfo(const NVTabletInfo& ti) override { tabletInfos.push_back(ti); }
    void handlePenData(const NVPenData& pd) override { penData.push_back(pd); }
    void handleRemoveApp() override { ++removeApp; }
};

inline void reset_agent_record()
{
    std::memset(&g_gi, 0, sizeof g_gi);
    currentAppIndex_kernel = 0;
}
