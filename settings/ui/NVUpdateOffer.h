// "Check for updates", from the status item's menu and the general page: the helper is
// started when it is not running, then the update it found is offered.
#pragma once

#include "core/channel/NotificationCenter.h"

class QWidget;

// True when the user chose to update now; the helper was told on bus (when there is one).
bool nv_check_for_updates(QWidget* parent, NotificationCenter* bus);
