#pragma once

#include <QList>
#include <QRgb>

#include <array>
#include <cstdint>

// Turns rows of RGB32 pixels into palette indexes, growing the palette as
// new colours appear, for as long as it holds at most 256 colours.
class PaletteRows {
public:
    // Writes the index of each of `width` pixels of `in` to `out`; false
    // when a pixel would be the 257th colour (`out` is then incomplete).
    bool Convert(const QRgb* in, int width, std::uint8_t* out);

    const QList<QRgb>& Palette() const { return m_palette; }

private:
    // The colour's index, a new one if there is room; -1 when the palette is full.
    int Find(QRgb color);

    // Open addressing in twice the palette's size, so a probe sequence
    // stays short even when the palette is full.
    static constexpr std::size_t kSlots = 512;
    static std::size_t Hash(QRgb color) { return (color * 2654435761u) >> 23; }

    QList<QRgb> m_palette;
    std::array<bool, kSlots> m_used{};
    std::array<QRgb, kSlots> m_colors{};
    std::array<std::uint8_t, kSlots> m_indexes{};
};
