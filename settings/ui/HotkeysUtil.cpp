#include "settings/ui/HotkeysUtil.h"

#include "core/log/NVLog.h"
#include "platform/linux/UinputKeymap.h"
#include "platform/linux/XcbHotkey.h"
#include "settings/logic/NVOpenDriverHotkey.h"
#include "settings/logic/NVPortalTrigger.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/PortalGlobalShortcut.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// X key codes are the kernel's plus 8.
constexpr uint16_t kXKeycodeOffset = 8;

struct HotkeyState {
    std::unique_ptr<XcbHotkey> x;
    QPointer<QSocketNotifier> notifier; // owned by the application, gone with it
    QPointer<PortalGlobalShortcut> portal; // likewise
    bool portalWanted = false;             // registered and not released since
    HotkeysUtil::Registration registration = HotkeysUtil::Registration::None;
};

HotkeyState& state()
{
    static HotkeyState s;
    return s;
}

// The X key code and modifier mask of a shortcut; nothing for a key X cannot have.
std::optional<std::pair<uint8_t, uint16_t>> x11_combination(const NVShortcut& shortcut)
{
    const uint16_t evdev = nv_vk_to_evdev(shortcut.keyCode);
    if (!evdev || evdev + kXKeycodeOffset > 255) {
        nv_log("hotkey: key code %u has no X key", shortcut.keyCode);
        return std::nullopt;
    }
    return std::pair{static_cast<uint8_t>(evdev + kXKeycodeOffset), nv_x11_modifiers(shortcut.registerFlags())};
}

// The connection the hotkey is grabbed on, made on first use; null without X.
XcbHotkey* x_connection()
{
    HotkeyState& s = state();
    if (!s.x && HotkeysUtil::globalShortcutsAvailable()) {
        s.x = XcbHotkey::connect();
        if (!s.x)
            return nullptr;
        s.notifier = new QSocketNotifier(s.x->fd(), QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(s.notifier, &QSocketNotifier::activated, [] {
            HotkeyState& st = state();
            if (st.x->takePresses())
                nv_ui_center().post(nvUiHotkeyChanged, {});
            if (!st.x->connected()) {
                // The X server went away; a later registration connects afresh.
                nv_log("hotkey: the X server went away");
                st.notifier->setEnabled(false);
                st.notifier->deleteLater();
                st.x.reset();
                st.registration = HotkeysUtil::Registration::None;
            }
        });
    }
    return s.x.get();
}

// The portal's shortcut, made on first use. Its answers arrive later: until then, and when
// it refuses, the hotkey stays Unavailable.
PortalGlobalShortcut* portal()
{
    HotkeyState& s = state();
    if (!s.portal) {
        s.portal = new PortalGlobalShortcut(QDBusConnection::sessionBus(), QCoreApplication::instance());
        QObject::connect(s.portal, &PortalGlobalShortcut::stateChanged, [](PortalGlobalShortcut::State st) {
            HotkeyState& hs = state();
            if (st == PortalGlobalShortcut::State::Bound && hs.portalWanted)
                hs.registration = HotkeysUtil::Registration::Registered;
            else if (st == PortalGlobalShortcut::State::Unavailable)
                hs.registration = HotkeysUtil::Registration::Unavailable;
        });
        QObject::connect(s.portal, &PortalGlobalShortcut::activated, [] {
            if (state().registration == HotkeysUtil::Registration::Registered)
                nv_ui_center().post(nvUiHotkeyChanged, {});
        });
    }
    return s.portal;
}

NVUserDefaults suite()
{
    return NVUserDefaults(nvSuiteNuvroTablet);
}

} // namespace

bool HotkeysUtil::globalShortcutsAvailable()
{
    const char* display = std::getenv("DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    // An X client under Wayland sees only the keys typed into X windows.
    return display && *display && !(session && std::strcmp(session, "wayland") == 0);
}

HotkeysUtil::Registration HotkeysUtil::registerOpenDriverHotkeys()
{
    HotkeyState& s = state();
    if (!globalShortcutsAvailable()) {
        PortalGlobalShortcut* p = portal();
        s.portalWanted = true;
        p->bind(QStringLiteral("open-driver"), qtTrId("str_M_show"),
                QString::fromStdString(nv_portal_trigger(readOpenDriverShortcut())));
        return s.registration = p->state() == PortalGlobalShortcut::State::Bound ? Registration::Registered
                                                                                : Registration::Unavailable;
    }
    XcbHotkey* x = x_connection();
    if (!x)
        return s.registration = Registration::Unavailable;
    const auto combination = x11_combination(readOpenDriverShortcut());
    if (!combination)
        return s.registration = Registration::Failed;
    switch (x->grab(combination->first, combination->second)) {
    case XcbHotkey::Grab::Grabbed:
        return s.registration = Registration::Registered;
    case XcbHotkey::Grab::Taken:
        return s.registration = Registration::Taken;
    case XcbHotkey::Grab::Failed:
        break;
    }
    return s.registration = Registration::Failed;
}

bool HotkeysUtil::isTaken(const NVShortcut& shortcut)
{
    if (shortcut.hasRegistered())
        return true;
    XcbHotkey* x = x_connection();
    const auto combination = x11_combination(shortcut);
    return x && combination && x->probe(combination->first, combination->second) == XcbHotkey::Grab::Taken;
}

void HotkeysUtil::unregisterOpenDriverHotkeys()
{
    HotkeyState& s = state();
    s.portalWanted = false;
    if (s.x)
        s.x->ungrab();
    if (s.registration != Registration::Unavailable)
        s.registration = Registration::None;
}

HotkeysUtil::Registration HotkeysUtil::registration()
{
    return state().registration;
}

NVShortcut HotkeysUtil::readOpenDriverShortcut()
{
    NVUserDefaults d = suite();
    return nv_read_open_driver_shortcut(d);
}

bool HotkeysUtil::saveOpenDriverShortcut(const NVShortcut& shortcut)
{
    NVUserDefaults d = suite();
    return nv_save_open_driver_shortcut(d, shortcut);
}

NVShortcut HotkeysUtil::Default4OpenDriver()
{
    const NVShortcut shortcut = nv_default_open_driver_shortcut();
    NVUserDefaults d = suite();
    if (!d.has(nvKeyOpenDriver))
        nv_save_open_driver_shortcut(d, shortcut);
    return shortcut;
}

bool HotkeysUtil::hasShortcutKey(const char* key)
{
    return suite().has(key);
}

bool HotkeysUtil::hasExclusionShortcut()
{
    return state().registration == Registration::Taken || isTaken(readOpenDriverShortcut());
}
