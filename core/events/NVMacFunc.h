// The one place where the suite posts input: tablet proximity and pointer events, mouse
// events carrying tablet data, plain mouse and scroll events, keys and modifiers. All
// operations are class operations; their little state is process-wide.
#pragma once

#include <cstdint>
#include <string>

#include "core/events/WindowSystem.h"
#include "core/model/NVTypes.h"

class ProcessLauncher;
class Workspace;

// Modifier flags of the key combination being held; pen drags and scrolls carry them.
extern uint64_t gModifierKeyEventFlag;
// Mouse event number; grows after each mouse proximity event.
extern int64_t glEventNumber;
// A middle (other) button function is held.
extern bool gbOtherMouseDown;
// A right button function is held: pen drags become right-mouse-dragged.
extern bool gbRightMouseDown;
// The pointer is the eraser end.
extern bool gbEraser;

class NVMacFunc {
public:
    // The last key event was a key-down, so the next key-down is an auto-repeat.
    static uint8_t keyRepeat;

    // Where events go, where the frontmost window is known, and what starts programs.
    // Not owned; nullptr detaches (events are then dropped).
    static void setWindowSystem(WindowSystem* ws);
    static void setWorkspace(const Workspace* workspace);
    static void setProcessLauncher(ProcessLauncher* launcher);
    // Back to the start state: flags, event number and button flags cleared.
    static void resetState();

    // Field writers of the tablet events; p is ps / maxP of g_gi.ti.
    static void fillProximityFields(NVWSEvent& event, const NVMacPenData& penData, int64_t clickState,
                                    bool proximity);
    static void fillPointerFields(NVWSEvent& event, const NVMacPenData& penData, int64_t clickState);
    static void fillMouseFields(NVWSEvent& event, const NVMacPenData& penData, const NVMacPenData& lastPenData,
                                int64_t clickState);

    // Pen events.
    static void sendTabletProximityEvent(const NVMacPenData& penData, int64_t clickState, bool proximity);
    static void sendTabletPointerEvent(const NVMacPenData& penData, int64_t clickState);
    static void sendMouseProximityEvent(int32_t type, const NVMacPenData& penData, const NVMacPenData& lastPenData,
                                        int64_t clickState, bool proximity);
    static void sendMousePointerEvent(int32_t type, int32_t mouseButton, const NVMacPenData& penData,
                                      const NVMacPenData& lastPenData, int64_t clickState);

    // Plain mouse and scroll events.
    static void sendMouseEvent(int32_t button, NVScreenPoint mouseCursorPosition, int64_t clickState,
                               int32_t mouseEventType);
    static void sendScrollWheel(float offX, double offY);

    // Keyboard, through g_gi.hidConnect; dropped (with one log line) while it is 0.
    static void HIDPostVirtualModifier(uint64_t flags, uint16_t key);
    static void HIDPostVirtualKey(uint16_t key, bool up, uint32_t repeat);
    // key 255 stands for key code 0.
    static void sendKBKey(uint8_t key, bool bPress, uint64_t keyFlag);
    static void sendKeyDown(const NVKbtn* k);
    static void sendKeyUp(const NVKbtn* k);
    static void sendKeyClick(const NVKbtn* k);

    // Opens k->cmdPath (percent escapes removed): a program, a desktop entry or a document.
    static void launchAPP(const NVEkey* k);
    static void brushSwitch(bool bEraser);
    // Owner name of the frontmost window; empty when unknown. Cached, cheap per report.
    static const std::string& inqueryActiveWindow();
};
