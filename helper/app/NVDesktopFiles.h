// The user's Downloads folder.
#pragma once

#include <QString>

// What `xdg-user-dir DOWNLOAD` names; "~/Downloads" when it cannot be asked.
QString nv_downloads_folder();