// The settings application's end of the channel: tablet information, pen samples and
// change announcements from the agent become delegate calls; the settings side's
// requests are posted from here.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "core/model/NVTypes.h"

#include <vector>

class NVProtocolNotificationUIPeer {
public:
    virtual ~NVProtocolNotificationUIPeer() = default;
    virtual void handleConfigChanged() = 0;
    virtual void handleTabletInfo(const NVTabletInfo& ti) = 0;
    virtual void handlePenData(const NVPenData& pd) = 0;
    virtual void handleRemoveApp() = 0;
};

class NVNotificationUIPeer {
public:
    // The delegate must outlive the peer.
    NVNotificationUIPeer(NVProtocolNotificationUIPeer& delegate, NotificationCenter& center);
    ~NVNotificationUIPeer();
    NVNotificationUIPeer(const NVNotificationUIPeer&) = delete;
    NVNotificationUIPeer& operator=(const NVNotificationUIPeer&) = delete;

    void notifyConfigChanged();
    void notifyQueryTabletInfo();
    void notifyStartCalibrate();
    void notifyEndCalibrate();

private:
    NVProtocolNotificationUIPeer& delegate_;
    NotificationCenter& center_;
    std::vector<NotificationCenter::Token> tokens_;
};
