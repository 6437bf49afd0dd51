#include "core/channel/NVNotificationDriverPeer.h"

#include "core/channel/NVConfigLimits.h"
#include "core/channel/NVNotificationNames.h"
#include "core/channel/NVTabletInfoDict.h"
#include "core/channel/WorkspaceActivation.h"
#include "core/model/NVText.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The delegates of the process's live peers. g_gi.cfg is one per process, and so are the
// keys held with its functions: each peer may hear a new record first, so each lets all of
// them go before it copies.
std::vector<NVProtocolNotificationDriverPeer*>& replace_guards()
{
    static std::vector<NVProtocolNotificationDriverPeer*> guards;
    return guards;
}

} // namespace

NVNotificationDriverPeer::NVNotificationDriverPeer(NVProtocolNotificationDriverPeer* delegate,
                                                   NotificationCenter& center, NotificationCenter* workspaceCenter)
    : delegate_(delegate), center_(center), workspaceCenter_(workspaceCenter)
{
    auto on = [this](const char* name, auto handler) {
        tokens_.push_back(center_.observe(name, [handler](const std::string&, const NVPlistDict& info) {
            handler(info);
        }));
    };
    on(nvNotificationToDriverConfigChanged, [this](const NVPlistDict&) {
        if (delegate_)
            delegate_->handleConfigChanged();
    });
    on(nvNotificationToDriverStartCalibrate, [this](const NVPlistDict&) {
        if (delegate_)
            delegate_->handleCalibrateStart();
    });
    on(nvNotificationToDriverEndCalibrate, [this](const NVPlistDict&) {
        if (delegate_)
            delegate_->handleCalibrateEnd();
    });
    on(nvNotificationToDriverQueryTabletInfo, [this](const NVPlistDict&) { notifyTabletInfo(); });
    on(nvNotificationResetCurrentAppIndex, [this](const NVPlistDict&) { notifyConfigChanged(); });
    on(nvNotificationCfgSendByUI, [this](const NVPlistDict& info) { handleCfgFromUI(info); });
    if (delegate_)
        replace_guards().push_back(delegate_);
    currentAppIndex_kernel = 0;
    // A peer made when a tablet arrives starts in the context of the application already in
    // front, not in the default one until the next change of window.
    if (workspaceCenter_) {
        synchronizeCurrentAppIndex(nv_last_activated_application());
        workspaceToken_ = workspaceCenter_->observe(nvWorkspaceDidActivateApplication,
                                                    [this](const std::string&, const NVPlistDict& info) {
                                                        synchronizeCurrentAppIndex(
                                                            nv_plist_string(info, nvKeyApplicationPath));
                                                    });
    }
}

NVNotificationDriverPeer::~NVNotificationDriverPeer()
{
    if (delegate_)
        std::erase(replace_guards(), delegate_);
    for (NotificationCenter::Token t : tokens_)
        center_.removeObserver(t);
    if (workspaceCenter_)
        workspaceCenter_->removeObserver(workspaceToken_);
}

void NVNotificationDriverPeer::notifyConfigChanged()
{
    center_.post(nvNotificationToDriverConfigChanged, {});
}

void NVNotificationDriverPeer::notifyPenData(const NVPenData& pd)
{
    center_.post(nvNotificationToUIPenData, NVPlistDict{
                                                {nvKeyPenX, pd.pt.x},
                                                {nvKeyPenY, pd.pt.y},
                                                {nvKeyPenPressure, static_cast<int32_t>(pd.ps)},
                                            });
}

void NVNotificationDriverPeer::notifyMMEkeyIndexChanged(const NVContextMEkey& mekey, int32_t screenToDisplay)
{
    center_.post(nvNotificationContextMEkeyChanged, NVPlistDict{
                                                        {nvKeyMuxIndex, int32_t(mekey.index)},
                                                        {nvKeyScreenToDisplay, screenToDisplay},
                                                        {nvKeyNameArray, nv_mekey_name_array(mekey)},
                                                    });
}

void NVNotificationDriverPeer::notifyTabletInfo()
{
    NVPlistDict info = nv_tablet_info_to_dict(g_gi.ti);
    nv_log("NVNotificationDriverPeer \tnotifyTabletInfo: %s", nv_plist_describe(info).c_str());
    center_.post(nvNotificationToUITabletInfo, info);
}

void NVNotificationDriverPeer::synchronizeCurrentAppIndex(const std::string& path)
{
    for (int32_t i = 0; i < NV_CONTEXT_MAX; ++i) {
        const std::string appPath = nv_replace_all(nv_buffer_text(g_gi.cfg.contexts[i].appPath), "%20", " ");
        // An empty path names no application, so it matches no context.
        if (!path.empty() && appPath.find(path) != std::string::npos) {
            currentAppIndex_kernel = i;
            nv_log("%s,%d", path.c_str(), i);
            return;
        }
        currentAppIndex_kernel = 0;
    }
}

void NVNotificationDriverPeer::handleCfgFromUI(const NVPlistDict& userInfo)
{
    const NVPlistData& data = nv_plist_data(userInfo, nvKeyCfgValFromUI);
    if (data.size() != sizeof(NVConfig)) {
        nv_log("NVNotificationDriverPeer handleCfgFromUI, refused %zu bytes, expected %zu", data.size(),
               sizeof(NVConfig));
        return;
    }
    // Checked on a copy: the record in force stays whole when the new one is refused.
    auto cfg = std::make_unique_for_overwrite<NVConfig>();
    std::memcpy(cfg.get(), data.data(), sizeof(NVConfig));
    std::string why;
    if (!nv_config_within_limits(*cfg, why)) {
        nv_log("NVNotificationDriverPeer handleCfgFromUI, refused: %s", why.c_str());
        return;
    }
    for (NVProtocolNotificationDriverPeer* guard : replace_guards())
        guard->willReplaceConfig();
    std::memcpy(&g_gi.cfg, cfg.get(), sizeof(NVConfig));
    // Contexts may have been added, removed or moved: the index in force must name the
    // frontmost application's context of the new record.
    if (workspaceCenter_)
        synchronizeCurrentAppIndex(nv_last_activated_application());
}

NVPlistStrings nv_mekey_name_array(const NVContextMEkey& mekey)
{
    const int sets = std::min<int>(mekey.muxFuncNum, NV_MUXFUNC_MAX);
    const int keys = std::min<int>(mekey.num, NV_EKEY_MAX);
    NVPlistStrings names;
    names.reserve(sets);
    for (int s = 0; s < sets; ++s) {
        std::string joined;
        for (int k = 0; k < keys; ++k) {
            const std::string_view raw = nv_buffer_text(mekey.muxfunc[s].ekeys[k].name);
            std::string name;
            // A name with a broken escape is shown as it stands; one that is not text at all
            // counts as empty.
            if (!nv_percent_decode(raw, name))
                name = nv_is_utf8(raw) ? std::string(raw) : std::string();
            if (!joined.empty() && !name.empty())
                joined += '|';
            joined += name;
        }
        names.push_back(std::move(joined));
    }
    return names;
}
