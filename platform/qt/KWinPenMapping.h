// KDE Plasma maps a tablet onto the one screen KWin treats as active, squeezing the agent's
// whole desktop onto it. Plasma 6 keeps a per-device setting that maps a tablet over the
// whole desktop, as Sway and GNOME do: this turns it on for the agent's own pen as soon as
// KWin lists the device. Plasma 5.27 has no such setting, which is logged once. Nothing
// happens where KWin is not on the session bus; every call is asynchronous.
#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>
#include <QSet>
#include <QString>

inline constexpr const char* nvKWinService = "org.kde.KWin";
inline constexpr const char* nvKWinInputDevices = "/org/kde/KWin/InputDevice";
inline constexpr const char* nvKWinInputDeviceManager = "org.kde.KWin.InputDeviceManager";
inline constexpr const char* nvKWinInputDevice = "org.kde.KWin.InputDevice";

class KWinPenMapping : public QObject {
    Q_OBJECT
public:
    // penName: the name the pen's evdev device carries, which KWin gives its device.
    KWinPenMapping(QDBusConnection bus, QString penName);

private Q_SLOTS:
    void deviceAdded(const QString& sysName);
    // A removed device is asked about again when it comes back: KWin removes every device
    // when it quits and lists them again when it restarts.
    void deviceRemoved(const QString& sysName);

private:
    QDBusPendingCall get(const QString& sysName, const char* property);
    void mapOverDesktop(const QString& sysName);

    QDBusConnection bus_;
    QString penName_;
    // Devices asked about and still there: the list at the start and the signal may name one
    // twice.
    QSet<QString> asked_;
};
