// The agent's end of the settings channel: turns notifications from the settings
// application into calls on a delegate, copies configurations sent whole, follows the
// frontmost application's context and posts the agent's announcements.
#pragma once

#include "core/channel/NVPlist.h"
#include "core/channel/NotificationCenter.h"
#include "core/model/NVTypes.h"

#include <string>
#include <vector>

class NVProtocolNotificationDriverPeer {
public:
    virtual ~NVProtocolNotificationDriverPeer() = default;
    virtual void handleConfigChanged() = 0;
    virtual void handleCalibrateStart() = 0;
    virtual void handleCalibrateEnd() = 0;
    // Runs just before a configuration from the settings application replaces g_gi.cfg:
    // let go of anything that depends on the record being replaced. Every delegate of the
    // process runs, whichever peer hears the configuration first.
    virtual void willReplaceConfig() {}
};

class NVNotificationDriverPeer {
public:
    // delegate: may be null (the device watcher's peer answers queries, copies
    // configurations and follows the active application only); it must outlive the peer.
    // Each peer that hears a configuration runs the willReplaceConfig of every peer's
    // delegate in the process before it copies the record.
    // workspaceCenter: where nvWorkspaceDidActivateApplication is posted (see
    // WorkspaceActivation.h); null when activations are not followed.
    // Sets currentAppIndex_kernel to the context of the latest activation when activations
    // are followed, else to 0.
    NVNotificationDriverPeer(NVProtocolNotificationDriverPeer* delegate, NotificationCenter& center,
                             NotificationCenter* workspaceCenter);
    ~NVNotificationDriverPeer();
    NVNotificationDriverPeer(const NVNotificationDriverPeer&) = delete;
    NVNotificationDriverPeer& operator=(const NVNotificationDriverPeer&) = delete;

    void notifyConfigChanged();
    // X, Y and pressure of a sample taken while a pen display is calibrated.
    void notifyPenData(const NVPenData& pd);
    // A multi-function key switched its function set.
    void notifyMMEkeyIndexChanged(const NVContextMEkey& mekey, int32_t screenToDisplay);
    // g_gi.ti as a dictionary (all zero while no tablet is attached).
    void notifyTabletInfo();
    // Selects the first context of g_gi.cfg whose application path contains path.
    void synchronizeCurrentAppIndex(const std::string& path);

private:
    void handleCfgFromUI(const NVPlistDict& userInfo);

    NVProtocolNotificationDriverPeer* delegate_;
    NotificationCenter& center_;
    NotificationCenter* workspaceCenter_;
    std::vector<NotificationCenter::Token> tokens_;
    NotificationCenter::Token workspaceToken_ = 0;
};

// One entry per function set of the key: the names of its positions, percent escapes
// resolved, non-empty ones joined with "|".
NVPlistStrings nv_mekey_name_array(const NVContextMEkey& mekey);
