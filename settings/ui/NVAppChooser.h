// The chooser of the application to add: an installed application or an executable file.
#pragma once

#include "platform/linux/NVDesktopEntry.h"

#include <QString>

#include <functional>
#include <vector>

class QWidget;

// The desktop file of the application chosen, or the executable file chosen; empty when
// cancelled.
QString nv_choose_application(QWidget* parent, const std::vector<NVDesktopEntry>& apps);

// An answer given in place of the user while set; null restores the dialog.
void nv_set_app_chooser_answer(std::function<QString()>* answer);
