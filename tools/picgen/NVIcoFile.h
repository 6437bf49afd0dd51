// The Windows icon container, as the status item loads its picture from one: Qt's own
// writer stores a single image, the status item wants 16 and 32 pixels in one file.
#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

// An ICO file holding each image (1 to 256 pixels a side) as a 32-bit bitmap with its
// transparency mask; empty when an image is out of that range.
QByteArray nv_ico_bytes(const std::vector<QImage>& images);
