// Records shortcuts from the keyboard: one shortcut (a hotkey field) or a sequence of up to
// 16 keys shown after a set of modifiers (a key-function's keys). Only one listener listens
// at a time in the process; the key events come from a source the windows install.
#pragma once

#include "settings/logic/NVShortcut.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class NVKeyboardListener;

// Where captured key events come from (the focused window's key events). install() makes
// the source hand each key-down and modifier change, as a shortcut, to listener.addShortcut.
class NVKeyEventSource {
public:
    virtual ~NVKeyEventSource() = default;
    virtual void install(NVKeyboardListener& listener) = 0;
    virtual void remove() = 0;
};

class NVKeyboardListener {
public:
    static constexpr size_t kCapacity = 16;

    static std::unique_ptr<NVKeyboardListener> CreateInstanceWithSingleKey();
    static std::unique_ptr<NVKeyboardListener> CreateInstanceWithControlKey(bool control, bool option, bool shift,
                                                                             bool command);
    ~NVKeyboardListener();

    // The process's key source; without one, listening records nothing.
    static void setEventSource(NVKeyEventSource* source);
    // Whether the process listens, and to which listener.
    static bool isListening();

    void startListenKeyboard();
    void stopListenKeyboard();
    // Ignored when absent or invalid, or (single mode) taken; then asks onShortcutChanged.
    void addShortcut(const NVShortcut& shortcut);
    void addShortcut(const NVShortcut& shortcut, bool control, bool option, bool shift, bool command);
    void clearKeyEvents();
    void updateText();
    const std::vector<NVShortcut>& KeyEvents() const { return keyEvents_; }
    bool isSingleKey() const { return isSingleKey_; }

    void setHasControlKey(bool v) { modifiers_.control = v; }
    void setHasOptionKey(bool v) { modifiers_.option = v; }
    void setHasShiftKey(bool v) { modifiers_.shift = v; }
    void setHasCommandKey(bool v) { modifiers_.command = v; }
    const NVModifierKeys& modifiers() const { return modifiers_; }

    std::function<void(const std::string&)> onUpdateText;
    std::function<bool(const NVShortcut&)> onShortcutChanged;
    std::function<bool(const NVShortcut&)> hasShortcutRegistered;
    std::function<void()> onClearShortcuts;

private:
    explicit NVKeyboardListener(bool single) : isSingleKey_(single) {}
    bool isSingleKey_;
    NVModifierKeys modifiers_;
    std::vector<NVShortcut> keyEvents_;
};
