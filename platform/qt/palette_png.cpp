#include "platform/qt/palette_png.h"

#include "platform/qt/palette_rows.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// The image as palette indexes: each distinct run of rows converted once,
// a row equal to the row above sharing that row's indexes.
struct IndexedImage {
    std::unique_ptr<std::uint8_t[]> indexes; // the distinct rows, one after another
    std::vector<png_const_bytep> rows;
    QList<QRgb> palette;
};

// False when the image has more than 256 colours (or no memory is left).
bool Index(const QImage& image, IndexedImage& out)
{
    const int width = image.width();
    const int height = image.height();
    const std::size_t pixelBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    // Not zero-filled: only the rows that differ touch their pages.
    out.indexes.reset(
        new (std::nothrow) std::uint8_t[static_cast<std::size_t>(width) * static_cast<std::size_t>(height)]);
    if (!out.indexes)
        return false;
    std::vector<std::size_t> starts(static_cast<std::size_t>(height));
    std::size_t used = 0;
    PaletteRows rows;
    const QRgb* previousRow = nullptr;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        // Most rows of a graph (between the labels and the bends of the
        // lines) repeat the one above: no look-up at all.
        if (previousRow && std::memcmp(row, previousRow, pixelBytes) == 0) {
            starts[static_cast<std::size_t>(y)] = starts[static_cast<std::size_t>(y) - 1];
        } else {
            starts[static_cast<std::size_t>(y)] = used;
            if (!rows.Convert(row, width, out.indexes.get() + used))
                return false;
            used += static_cast<std::size_t>(width);
        }
        previousRow = row;
    }
    for (const std::size_t start : starts)
        out.rows.push_back(out.indexes.get() + start);
    out.palette = rows.Palette();
    return true;
}

void AppendToArray(png_structp png, png_bytep data, png_size_t size)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void NoFlush(png_structp)
{
}

// libpng reports its errors by longjmp to here, so nothing in this frame
// may need a destructor.
bool Encode(png_structp png, png_infop info, const QImage& image, const IndexedImage& indexed, const png_color* colours,
    const PngCompression& compression, QByteArray* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, AppendToArray, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
        PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours, static_cast<int>(indexed.palette.size()));
    // The physical size, as Qt's own writer records it.
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
            static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    // Every index comes from the palette built alongside it (PaletteRows):
    // libpng's scan of each row for an index past the palette would cost a
    // fifth of the encoding and could never find one.
    png_set_check_for_invalid_index(png, 0);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, compression.upFilter ? PNG_FILTER_UP : PNG_FILTER_NONE);
    png_set_compression_level(png, compression.level);
    png_set_compression_strategy(png, compression.strategy);
    // One IDAT chunk for the whole picture, as long as it deflates to no
    // more than its raw size: fewer chunk headers and CRCs.
    const std::size_t raw = (static_cast<std::size_t>(image.width()) + 1) * static_cast<std::size_t>(image.height());
    png_set_compression_buffer_size(png, std::min<std::size_t>(raw + 64, PNG_UINT_31_MAX));
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(indexed.rows.data()));
    png_write_end(png, info);
    return true;
}

} // namespace

QByteArray PalettePng(const QImage& image, const PngCompression& compression)
{
    if (image.format() != QImage::Format_RGB32 || image.isNull())
        return {};
    IndexedImage indexed;
    if (!Index(image, indexed))
        return {};
    std::vector<png_color> colours;
    for (const QRgb colour : indexed.palette)
        colours.push_back({static_cast<png_byte>(qRed(colour)), static_cast<png_byte>(qGreen(colour)),
            static_cast<png_byte>(qBlue(colour))});
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(colours.size() * 3 + 4096));
    const bool written = info != nullptr && Encode(png, info, image, indexed, colours.data(), compression, &out);
    png_destroy_write_struct(&png, &info);
    return written ? out : QByteArray();
}
