#include "core/channel/NVNotificationUIPeer.h"

#include "core/channel/NVNotificationNames.h"
#include "core/channel/NVTabletInfoDict.h"
#include "core/log/NVLog.h"

NVNotificationUIPeer::NVNotificationUIPeer(NVProtocolNotificationUIPeer& delegate, NotificationCenter& center)
    : delegate_(delegate), center_(center)
{
    nv_log("NVNotificationUIPeer initWithDelegate");
    auto on = [this](const char* name, auto handler) {
        tokens_.push_back(center_.observe(name, [handler](const std::string&, const NVPlistDict& info) {
            handler(info);
        }));
    };
    on(nvNotificationToDriverConfigChanged, [this](const NVPlistDict&) { delegate_.handleConfigChanged(); });
    on(nvNotificationToUITabletInfo, [this](const NVPlistDict& info) {
        const NVTabletInfo ti = nv_tablet_info_from_dict(info);
        delegate_.handleTabletInfo(ti);
    });
    on(nvNotificationToUIPenData, [this](const NVPlistDict& info) {
        NVPenData pd{};
        pd.pt.x = nv_plist_int(info, nvKeyPenX);
        pd.pt.y = nv_plist_int(info, nvKeyPenY);
        pd.ps = static_cast<uint32_t>(nv_plist_int(info, nvKeyPenPressure));
        delegate_.handlePenData(pd);
    });
    on(nvNotificationRemovedApp, [this](const NVPlistDict&) { delegate_.handleRemoveApp(); });
}

NVNotificationUIPeer::~NVNotificationUIPeer()
{
    for (NotificationCenter::Token t : tokens_)
        center_.removeObserver(t);
}

void NVNotificationUIPeer::notifyConfigChanged() { center_.post(nvNotificationToDriverConfigChanged, {}); }
void NVNotificationUIPeer::notifyQueryTabletInfo() { center_.post(nvNotificationToDriverQueryTabletInfo, {}); }
void NVNotificationUIPeer::notifyStartCalibrate() { center_.post(nvNotificationToDriverStartCalibrate, {}); }
void NVNotificationUIPeer::notifyEndCalibrate() { center_.post(nvNotificationToDriverEndCalibrate, {}); }
