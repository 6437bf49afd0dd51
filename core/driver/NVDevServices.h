// What the tablet's USB watcher and HID layer work with. The agent, the replay tool and
// the tests wire these differently; every reference must outlive the layers using it.
#pragma once

#include <functional>

class UsbBus;
class NotificationCenter;
class DisplayList;
class Clock;
class WindowSystem;

struct NVDevServices {
    UsbBus& bus;
    // Where the settings application is answered and the battery query arrives.
    NotificationCenter& center;
    // Where activations of applications are re-posted (see WorkspaceActivation.h); null
    // when the frontmost application is not followed.
    NotificationCenter* workspaceCenter;
    DisplayList& displays;
    const Clock& clock;
    // Gives the keyboard connection kept in g_gi.hidConnect.
    WindowSystem& windowSystem;
    // May synthetic input be posted? Asked once each time the HID layer opens; empty
    // counts as yes.
    std::function<bool()> trusted;
    // Runs after the screen mapping has followed a reconfiguration of the displays, for
    // whatever else depends on them (the input devices' desktop box); may be empty.
    std::function<void()> displaysChanged;
};
