#pragma once

#include "platform/surface.h"
#include "platform/text_measurer.h"

#include <string>

// A surface that writes an SVG document, so graphs can be exported without
// a display. Lines, figures and fills are placed on pixel centres with
// crisp edges, so the picture has the same pixels as the window's: a line
// stops one pixel short of its end point, a figure covers its bounding
// rectangle without the right and bottom edges. Text is measured by the
// given measurer, which should describe `fontFamily` at `fontPixelSize`.
class SvgSurface : public ColorHandleSurface {
public:
    SvgSurface(const TextMeasurer& measurer, int width, int height, std::string fontFamily, int fontPixelSize);

    // The complete document: a white background and everything drawn so far.
    std::string Document();

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    TextSize MeasureText(std::string_view utf8) override;
    Color SetTextColor(Color color) override;
    void DrawFigure(Rect bounds) override;
    void FillRect(Rect area, BrushHandle brush) override;

private:
    // Consecutive lines in one pen share one <path>; anything else drawn
    // closes it first so the stacking order stays the order of the calls.
    void FlushPath();
    void PenChanging(PenHandle next) override;
    void AddRect(long long left, long long top, long long width, long long height, Color fill);

    const TextMeasurer& m_measurer;
    int m_width;
    int m_height;
    std::string m_fontFamily;
    int m_fontPixelSize;
    std::string m_body;
    std::string m_path;
    int m_x = 0;
    int m_y = 0;
    Color m_textColor = 0x000000;
};

// #rrggbb of a colour value (its top byte is not a colour and is ignored).
std::string SvgColor(Color color);
// Text made safe for XML character data and attribute values; characters
// XML cannot carry become U+FFFD.
std::string XmlEscape(std::string_view utf8);
