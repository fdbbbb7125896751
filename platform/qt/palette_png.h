#pragma once

#include <QByteArray>
#include <QImage>

// How the pixel rows of a palette PNG are filtered and deflated. A graph is
// mostly white, with vertical lines that repeat a row in the row below:
// the "up" filter turns every such repeat into zeros, and zlib's run-length
// strategy packs runs of zeros as well as its full search does, in a
// fraction of the time (bench/README.md has the measurements).
struct PngCompression {
    int level = 1;        // zlib level 1..9
    int strategy = 3;     // zlib strategy: 0 default, 1 filtered, 2 Huffman only, 3 run-length
    bool upFilter = true; // each row as its difference from the row above, else as it is
};

// `image` (Format_RGB32) as the bytes of an 8-bit palette PNG that decodes
// to exactly its pixels; empty when the image has more than 256 colours, is
// of another format, or zlib fails.
QByteArray PalettePng(const QImage& image, const PngCompression& compression = {});
