// The displays as the agent sees them (RandR monitors in native pixels, Qt's screens where
// RandR is missing), the Qt screen that shows one of them, and snapshots.
#pragma once

#include "core/input/DisplayList.h"

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

class QScreen;

// The display source of this desktop, or the one a test set.
std::unique_ptr<DisplayList> nv_open_display_source();
using NVDisplaySourceFactory = std::function<std::unique_ptr<DisplayList>()>;
// Null restores the desktop's own.
void nv_set_display_source_factory(NVDisplaySourceFactory factory);

// The Qt screen showing that display: the one at its top-left corner, else the one at the
// same place in Qt's list, else null.
QScreen* nv_qscreen_for(const std::vector<NVDisplayInfo>& displays, size_t index);

// A picture of display index, or of the whole desktop when index is the count. Where the
// window system gives no picture, a plain desktop of the right proportions.
QImage nv_snapshot(const std::vector<NVDisplayInfo>& displays, size_t index);
