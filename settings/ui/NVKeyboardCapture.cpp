#include "settings/ui/NVKeyboardCapture.h"

#include "platform/linux/UinputKeymap.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace {

constexpr quint32 kEvdevOffset = 8;

uint32_t flags_of(Qt::KeyboardModifiers m)
{
    return NVKeyMaskUtils::CreateModifiersFlags(m & Qt::ControlModifier, m & Qt::AltModifier, m & Qt::ShiftModifier,
                                                m & Qt::MetaModifier);
}

} // namespace

NVKeyboardCapture::NVKeyboardCapture(QObject* parent) : QObject(parent)
{
    NVKeyboardListener::setEventSource(this);
    registryToken_ = nv_add_shortcut_registry(&NVKeyboardCapture::actionsHold);
}

NVKeyboardCapture::~NVKeyboardCapture()
{
    nv_remove_shortcut_registry(registryToken_);
    NVKeyboardListener::setEventSource(nullptr);
    remove();
}

void NVKeyboardCapture::install(NVKeyboardListener& listener)
{
    if (!listener_)
        qApp->installEventFilter(this);
    listener_ = &listener;
}

void NVKeyboardCapture::remove()
{
    if (listener_)
        qApp->removeEventFilter(this);
    listener_ = nullptr;
}

std::optional<NVShortcut> NVKeyboardCapture::shortcutWithEvent(const QKeyEvent& event)
{
    const quint32 scan = event.nativeScanCode();
    if (scan <= kEvdevOffset)
        return std::nullopt;
    const int vk = nv_evdev_to_vk(static_cast<uint16_t>(scan - kEvdevOffset));
    if (vk < 0)
        return std::nullopt;
    return NVShortcut::shortcutWithKeyCode(static_cast<uint16_t>(vk), flags_of(event.modifiers()));
}

bool NVKeyboardCapture::actionsHold(const NVShortcut& shortcut)
{
    const std::string wanted = shortcut.keyCodeStringForKeyEquivalent();
    for (QWidget* top : QApplication::topLevelWidgets())
        for (const QAction* action : top->findChildren<QAction*>())
            for (const QKeySequence& seq : action->shortcuts()) {
                if (seq.isEmpty())
                    continue;
                const QKeyCombination c = seq[0];
                const QString key = QKeySequence(c.key()).toString(QKeySequence::PortableText).toLower();
                if (key.toStdString() == wanted && flags_of(c.keyboardModifiers()) == shortcut.keyModifierFlags)
                    return true;
            }
    return false;
}

bool NVKeyboardCapture::eventFilter(QObject* watched, QEvent* event)
{
    if (!listener_)
        return QObject::eventFilter(watched, event);
    // A recorded key triggers no shortcut of the window.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // Taken at its first receiver (the window), so it reaches no widget.
    if (const auto s = shortcutWithEvent(*static_cast<QKeyEvent*>(event)))
        listener_->addShortcut(*s);
    return true;
}
