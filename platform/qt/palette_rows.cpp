#include "platform/qt/palette_rows.h"

bool PaletteRows::Convert(const QRgb* in, int width, std::uint8_t* out)
{
    // Most pixels repeat the one before (white, mostly): only a change of
    // colour needs the look-up. RGB32 leaves the top byte undefined, so it
    // is set before the look-up and ignored in the comparison.
    QRgb previous = 0;
    int previousIndex = -1;
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = in[x] | 0xFF000000u;
        if (previousIndex < 0 || pixel != previous) {
            previous = pixel;
            previousIndex = Find(pixel);
            if (previousIndex < 0)
                return false;
        }
        out[x] = static_cast<std::uint8_t>(previousIndex);
    }
    return true;
}

int PaletteRows::Find(QRgb color)
{
    std::size_t slot = Hash(color);
    while (m_used[slot]) {
        if (m_colors[slot] == color)
            return m_indexes[slot];
        slot = (slot + 1) % kSlots;
    }
    if (m_palette.size() == 256)
        return -1;
    m_used[slot] = true;
    m_colors[slot] = color;
    m_indexes[slot] = static_cast<std::uint8_t>(m_palette.size());
    m_palette.append(color);
    return m_indexes[slot];
}
