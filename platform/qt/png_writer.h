#pragma once

#include <QImage>

class QIODevice;

// Writes `image` to `device` as PNG. A graph is white with a few line
// colours and the shades of its antialiased text, so nearly always it has
// at most 256 colours; such an image is written as a palette image, which
// decodes to exactly the same pixels and takes the PNG encoder a fraction of
// the time of true colour (one byte a pixel, and no filter search per row).
// Any other image is written as it is.
bool WritePng(const QImage& image, QIODevice& device);

// `image` as an 8-bit palette image with exactly its pixels, or a null
// image when it has more than 256 colours or is not Format_RGB32.
QImage ExactPaletteImage(const QImage& image);
