#pragma once

#include "platform/surface.h"

#include <string_view>

// How a surface that cannot see a real font learns the size of its text.
// The window's own surface measures with the font it paints with; recording
// and SVG surfaces take one of these so that their output agrees with it.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Extent of the whole string; zero when it cannot be measured.
    virtual TextSize Measure(std::string_view utf8) const = 0;
    // Distance from a text line's top edge to its baseline.
    virtual int Ascent() const = 0;
};

// Every character (UTF-8 code point) the same width: predictable extents
// for tests and for output that must not depend on installed fonts.
class FixedWidthMeasurer : public TextMeasurer {
public:
    explicit FixedWidthMeasurer(int charWidth = 6, int height = 12, int ascent = 10)
        : m_charWidth(charWidth)
        , m_height(height)
        , m_ascent(ascent)
    {
    }
    TextSize Measure(std::string_view utf8) const override;
    int Ascent() const override { return m_ascent; }

private:
    int m_charWidth;
    int m_height;
    int m_ascent;
};

// Code points in a UTF-8 string; a stray continuation byte counts as none.
int CountCodePoints(std::string_view utf8);
