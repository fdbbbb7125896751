#include "platform/qt/png_writer.h"

#include <QImageWriter>
#include <QIODevice>

#include <array>
#include <cstdint>

namespace {

// Palette indexes by colour: open addressing in twice the palette's size,
// so a probe sequence stays short even when the palette is full.
class ColorIndex {
public:
    // The colour's index, a new one if there is room; -1 when the palette is full.
    int Find(QRgb color, QList<QRgb>& palette)
    {
        std::size_t slot = Hash(color);
        while (m_used[slot]) {
            if (m_colors[slot] == color)
                return m_indexes[slot];
            slot = (slot + 1) % kSlots;
        }
        if (palette.size() == 256)
            return -1;
        m_used[slot] = true;
        m_colors[slot] = color;
        m_indexes[slot] = static_cast<std::uint8_t>(palette.size());
        palette.append(color);
        return m_indexes[slot];
    }

private:
    static constexpr std::size_t kSlots = 512;
    static std::size_t Hash(QRgb color) { return (color * 2654435761u) >> 23; }

    std::array<bool, kSlots> m_used{};
    std::array<QRgb, kSlots> m_colors{};
    std::array<std::uint8_t, kSlots> m_indexes{};
};

} // namespace

QImage ExactPaletteImage(const QImage& image)
{
    if (image.format() != QImage::Format_RGB32)
        return {};
    QImage indexed(image.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    QList<QRgb> palette;
    ColorIndex index;
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        // Most pixels repeat the one before (white, mostly): skip the look-up.
        QRgb previous = 0;
        int previousIndex = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (previousIndex < 0 || in[x] != previous) {
                previous = in[x];
                previousIndex = index.Find(previous | 0xFF000000u, palette);
                if (previousIndex < 0)
                    return {};
            }
            out[x] = static_cast<uchar>(previousIndex);
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

bool WritePng(const QImage& image, QIODevice& device)
{
    QImageWriter writer(&device, "PNG");
    const QImage palette = ExactPaletteImage(image);
    return writer.write(palette.isNull() ? image : palette);
}
