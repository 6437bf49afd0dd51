// Shows a file in the desktop's file manager, selected.
#pragma once

#include <QDBusConnection>
#include <QString>

enum class NVRevealWay { FileManager, FolderOpened, Failed };

// The file manager's FileManager1 ShowItems on bus; when no file manager answers there,
// xdg-open of the containing folder.
NVRevealWay nv_reveal_file(const QDBusConnection& bus, const QString& path);
