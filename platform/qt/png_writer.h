#pragma once

#include <QImage>

class QIODevice;

// Writes `image` to `device` as PNG. A graph is white with a few line
// colours and the shades of its antialiased text, so nearly always it has
// at most 256 colours; such an image is written as a palette image
// (PalettePng), which decodes to exactly the same pixels and costs a
// fraction of true colour: one byte a pixel, rows that repeat the row above
// skipped, and no image-format plug-ins to load. Any other image goes
// through Qt's own writer as it is.
bool WritePng(const QImage& image, QIODevice& device);
