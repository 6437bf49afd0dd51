#include "settings/logic/NVKeyboardListener.h"

namespace {

bool g_listening = false;
NVKeyEventSource* g_source = nullptr;
NVKeyboardListener* g_receiver = nullptr;

} // namespace

std::unique_ptr<NVKeyboardListener> NVKeyboardListener::CreateInstanceWithSingleKey()
{
    return std::unique_ptr<NVKeyboardListener>(new NVKeyboardListener(true));
}

std::unique_ptr<NVKeyboardListener> NVKeyboardListener::CreateInstanceWithControlKey(bool control, bool option,
                                                                                     bool shift, bool command)
{
    std::unique_ptr<NVKeyboardListener> l(new NVKeyboardListener(false));
    l->modifiers_ = {control, option, shift, command};
    return l;
}

NVKeyboardListener::~NVKeyboardListener()
{
    // A listener that goes away must not be handed events any more.
    if (g_receiver == this)
        stopListenKeyboard();
}

void NVKeyboardListener::setEventSource(NVKeyEventSource* source)
{
    if (g_source && g_receiver)
        g_source->remove();
    g_source = source;
    if (g_source && g_receiver)
        g_source->install(*g_receiver);
}

bool NVKeyboardListener::isListening()
{
    return g_listening;
}

void NVKeyboardListener::startListenKeyboard()
{
    if (g_listening)
        return;
    g_listening = true;
    g_receiver = this;
    if (g_source)
        g_source->install(*this);
}

void NVKeyboardListener::stopListenKeyboard()
{
    g_listening = false;
    g_receiver = nullptr;
    if (g_source)
        g_source->remove();
}

void NVKeyboardListener::addShortcut(const NVShortcut& shortcut)
{
    if (!shortcut.isValidShortcut())
        return;
    if (isSingleKey_ && hasShortcutRegistered && hasShortcutRegistered(shortcut))
        return;
    if (!onShortcutChanged || !onShortcutChanged(shortcut))
        return;
    if (isSingleKey_)
        keyEvents_.assign(1, shortcut);
    else if (keyEvents_.size() < kCapacity)
        keyEvents_.push_back(shortcut);
    else
        return;
    updateText();
}

void NVKeyboardListener::addShortcut(const NVShortcut& shortcut, bool control, bool option, bool shift, bool command)
{
    modifiers_ = {control, option, shift, command};
    addShortcut(shortcut);
}

void NVKeyboardListener::clearKeyEvents()
{
    keyEvents_.clear();
    updateText();
    if (onClearShortcuts)
        onClearShortcuts();
}

void NVKeyboardListener::updateText()
{
    std::string text;
    if (isSingleKey_) {
        if (!keyEvents_.empty())
            text = keyEvents_.front().description();
    } else {
        text = NVKeyMaskUtils::NSString4CocoaModifiers(NVKeyMaskUtils::CreateModifiersFlags(
            modifiers_.control, modifiers_.option, modifiers_.shift, modifiers_.command));
        for (const NVShortcut& s : keyEvents_)
            text += " " + s.getKeyName();
    }
    if (onUpdateText)
        onUpdateText(text);
}
