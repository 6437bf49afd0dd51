// The key events the keyboard listeners record: while a listener listens, every key press
// of the application becomes a shortcut for it (and goes no further). Also tells the
// listeners which shortcuts this application's own actions hold.
#pragma once

#include "settings/logic/NVKeyboardListener.h"

#include <QObject>

#include <optional>

class QKeyEvent;

class NVKeyboardCapture : public QObject, public NVKeyEventSource {
    Q_OBJECT
public:
    // Becomes the process's key source and adds the action check to the registry.
    explicit NVKeyboardCapture(QObject* parent = nullptr);
    ~NVKeyboardCapture() override;

    void install(NVKeyboardListener& listener) override;
    void remove() override;

    // The shortcut of a key event: its key through the evdev table (the native scan code
    // is the evdev code + 8), and its modifiers; nothing for a key the table lacks.
    static std::optional<NVShortcut> shortcutWithEvent(const QKeyEvent& event);
    // Some action of the application's windows has this shortcut.
    static bool actionsHold(const NVShortcut& shortcut);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NVKeyboardListener* listener_ = nullptr;
    int registryToken_ = 0;
};
