// The application's icon in the layout of the desktop's hicolor icon theme:
// hicolor/<N>x<N>/apps/<name>.png for every usual size and hicolor/scalable/apps/<name>.svg.
#pragma once

#include <QString>

#include <span>

std::span<const int> nv_icon_theme_sizes();
bool nv_write_icon_theme(const QString& dir, const QString& name);
