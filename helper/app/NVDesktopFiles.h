// The user's Downloads folder and showing a file in the file browser.
#pragma once

#include <QDBusConnection>
#include <QString>

// What `xdg-user-dir DOWNLOAD` names; "~/Downloads" when it cannot be asked.
QString nv_downloads_folder();
// Shows the file selected in the file browser (FileManager1 ShowItems); where no file
// browser answers on the bus, opens its folder with xdg-open.
void nv_reveal_file(const QString& path, QDBusConnection bus = QDBusConnection::sessionBus());
