// Small services of the settings application: start at login, brand checks, the right to
// post input, the update badge and the status item.
#pragma once

#include <QString>

#include <cstddef>
#include <string>

class QObject;
class QSystemTrayIcon;

class NuvroUtils {
public:
    // The start-at-login entry named after this application; it starts the agent from
    // this executable's folder with "-runMode autoLaunched". An existing entry is kept.
    static void installDaemon();
    static void unInstallDaemon();
    // The entry exists and is not a folder.
    static bool isDaemon();
    static std::string daemonPath();

    static bool isNuvroTablet();
    static bool isKeltaTablet();

    // Input can be posted: /dev/uinput is writable.
    static bool isTrust();
    // There is no prompt to ask with: logs how to get the right when it is missing.
    static bool requestTrust();

    // The launcher badge "New" (count 1) and the status item's tool tip.
    static void setUpdateTips_New();
    static void setUpdateTips_Nil();

    // The status item with the picture res/32.ico; a click posts "Hotkey_Changed_Notification".
    static QSystemTrayIcon* addStatusBarItem(QObject* owner);

    // A UTF-8 string with percent escapes, unescaped; and escaped into a caller's buffer
    // (at most size bytes, no terminator). The count of bytes copied is returned.
    static QString exe2NSString(const char* escaped);
    static size_t exe2PChar(const QString& text, char* buffer, size_t size);
};
