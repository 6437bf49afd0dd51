// The root of the input path: takes every 12-byte report, dispatches it by type to the
// pen, key, strip, dial and touch handlers it owns, and performs key functions.
#pragma once

#include "core/channel/NVNotificationDriverPeer.h"
#include "core/input/Clock.h"
#include "core/input/DisplayList.h"
#include "core/input/NVCoordMap.h"
#include "core/model/NVTypes.h"

#include <cstdint>
#include <memory>

class NVPenHandler;
class NVHbtnHandler;
class NVSliderHandler;
class NVTouchHandler;
class NVEncoderHandler;

class NVDataHandler : public NVProtocolNotificationDriverPeer {
public:
    // Process-wide state of the key functions (one tablet at a time).
    static uint8_t sendEKey_clickState; // 1 while a left-button double click is performed
    static double sendEKey_lastTime;    // previous left-button down; 0 after a double click
    static bool sendEKey_bEraser;       // the brush switch selected the eraser

    // center: the channel to the settings application, on which this dispatcher's peer
    // listens and announces; null leaves it without one. workspaceCenter as for the peer.
    NVDataHandler(DisplayList& displays, const Clock& clock, NotificationCenter* center = nullptr,
                  NotificationCenter* workspaceCenter = nullptr);
    ~NVDataHandler() override;
    NVDataHandler(const NVDataHandler&) = delete;
    NVDataHandler& operator=(const NVDataHandler&) = delete;

    void handleData(const uint8_t* report);
    // Releases whatever is held (tip, barrel button, hard key and their key functions).
    // Call when the tablet goes away and before a new configuration replaces g_gi.cfg.
    void resetState();
    void sendMouseMove(double x, double y);
    // Performs every kind of k according to its funcEvent.
    void sendEKey(NVEkey* k);
    // Marks the kinds of k with event (none for the others), then performs it.
    void performKey(NVEkey& k, uint32_t event);

    // From the notification channel.
    void handleConfigChanged() override;
    void handleCalibrateStart() override;
    void handleCalibrateEnd() override;
    void handleQuitDriver();
    // A configuration from the settings application is about to replace g_gi.cfg: what is
    // held is released with the functions it was pressed with.
    void willReplaceConfig() override;

    // Null without a channel.
    NVNotificationDriverPeer* notification() const { return notification_.get(); }

    NVCoordMap& coordMap() { return coordMap_; }
    const Clock& clock() const { return clock_; }
    NVMacPenData& penData() { return penData_; }
    NVScreenPoint mouseCursorPosition() const { return mouseCursorPosition_; }
    bool touchPanelDrag() const { return bTouchPanelDrag_ != 0; }

private:
    // A mouse event of a key function at mouseCursorPosition_.
    void postMouse(int32_t button, int32_t type);
    // A button function's event: a click is a down and an up; a held button makes
    // pointer moves drags.
    void mouseButton(uint32_t event, int32_t button, int32_t downType, int32_t upType);

    const Clock& clock_;
    NVCoordMap coordMap_;
    NVMacPenData penData_{};
    std::unique_ptr<NVHbtnHandler> hbtnHandler_;
    std::unique_ptr<NVPenHandler> penHandler_;
    std::unique_ptr<NVSliderHandler> sliderHandler_;
    std::unique_ptr<NVTouchHandler> touchHandler_;
    std::unique_ptr<NVEncoderHandler> encoderHandler_;
    // Last, so that it stops delivering before the handlers go.
    std::unique_ptr<NVNotificationDriverPeer> notification_;
    NVScreenPoint mouseCursorPosition_{};
    int8_t bTouchPanelDrag_ = 0;
};
