// The picture file of an icon named by a desktop entry, looked up in the hicolor theme
// and the pixmaps folders of the XDG data folders (no toolkit needed, so it can run on a
// loader thread).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// icon: an absolute file, or a name without extension. Larger bitmaps come first, then
// scalable pictures, then the pixmaps folder. Empty when nothing is found.
std::filesystem::path nv_icon_file(const std::string& icon, const std::vector<std::filesystem::path>& dataDirs);
