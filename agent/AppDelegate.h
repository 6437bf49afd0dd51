// The agent's start and end: the autostart entry, the attribute queries, the USB
// watcher, the function-set tip. Everything runs on the one main loop.
#pragma once

#include "core/channel/NotificationCenter.h"

#include <memory>

class AgentPorts;
class AttributeQueryService;
class NVDevUSB;
class TipWindow;

class AppDelegate {
public:
    // ports must outlive the delegate.
    explicit AppDelegate(AgentPorts& ports);
    // Runs applicationWillTerminate.
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // Null before the launch.
    NVDevUSB* usb() const { return usb_.get(); }
    TipWindow* tipWindow() const { return tip_.get(); }

private:
    AgentPorts& ports_;
    std::unique_ptr<AttributeQueryService> attributes_;
    std::unique_ptr<NVDevUSB> usb_;
    std::unique_ptr<TipWindow> tip_;
    NotificationCenter::Token tipToken_ = 0;
    bool terminated_ = false;
};
