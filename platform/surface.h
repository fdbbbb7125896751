#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// A colour as the diary stores it: red in the low byte, green in the second,
// blue in the third (0x00BBGGRR). The top byte is carried, never interpreted.
using Color = std::uint32_t;

constexpr std::uint8_t RedOf(Color c)
{
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GreenOf(Color c)
{
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(Color c)
{
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}
constexpr Color MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

struct Point {
    int x = 0;
    int y = 0;
};

struct TextSize {
    int width = 0;
    int height = 0;
    friend bool operator==(TextSize, TextSize) = default;
};

// left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(Rect, Rect) = default;
};

// Pens and brushes are handles that the surface hands out and takes back.
// Handle 0 is the surface's stock object, selected when drawing starts: a
// solid black pen of width 1 and a solid white brush. Stock objects are
// never deleted.
enum class PenHandle : int { Stock = 0 };
enum class BrushHandle : int { Stock = 0 };

// What the graph draws on. Conventions, for every implementation:
// - coordinates are pixels of the client area, origin top-left, y downwards;
// - LineTo draws from the current position up to but not including its end
//   point, which becomes the current position;
// - a bounding rectangle's right and bottom edges are exclusive;
// - text is placed by its top-left corner, in the surface's own font, with
//   no clipping, no alignment change and the surface's background mode.
// A surface draws; it never decides anything about the graph.
class Surface {
public:
    virtual ~Surface() = default;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // LineTo of each point in turn. A surface that draws a long line faster
    // in one call overrides it; whatever it does, the pixels (and anything
    // else it records) must be those of the LineTo calls.
    virtual void PolylineTo(std::span<const Point> points)
    {
        for (const Point& point : points)
            LineTo(point.x, point.y);
    }
    virtual void TextOut(int x, int y, std::string_view utf8) = 0;
    // Extent of the whole string in the current font; zero when it cannot be measured.
    virtual TextSize MeasureText(std::string_view utf8) = 0;
    // Returns the previous text colour.
    virtual Color SetTextColor(Color color) = 0;

    virtual PenHandle CreateSolidPen(Color color) = 0; // width 1
    virtual BrushHandle CreateSolidBrush(Color color) = 0;
    // Each returns the handle that was selected before.
    virtual PenHandle SelectPen(PenHandle pen) = 0;
    virtual BrushHandle SelectBrush(BrushHandle brush) = 0;
    // Release a pen or brush that is not selected.
    virtual void DeletePen(PenHandle pen) = 0;
    virtual void DeleteBrush(BrushHandle brush) = 0;

    // A figure inside the bounding rectangle, outlined with the current pen
    // and filled with the current brush (the graph's marker: a rectangle).
    virtual void DrawFigure(Rect bounds) = 0;
    // Fill the rectangle with the brush, no outline.
    virtual void FillRect(Rect area, BrushHandle brush) = 0;
};

// Bookkeeping that every surface needs: the colour behind each handle and
// which pen and brush are selected. Implementations derive from it.
class SurfaceObjects {
public:
    PenHandle NewPen(Color color);
    BrushHandle NewBrush(Color color);
    Color PenColor(PenHandle pen) const;
    Color BrushColor(BrushHandle brush) const;
    PenHandle SwapPen(PenHandle pen);
    BrushHandle SwapBrush(BrushHandle brush);
    void ReleasePen(PenHandle pen);
    void ReleaseBrush(BrushHandle brush);
    PenHandle CurrentPen() const { return m_pen; }
    BrushHandle CurrentBrush() const { return m_brush; }

private:
    // Index = handle; slot 0 is the stock object. Deleted handles keep
    // their slot so a stale handle never aliases a newer object.
    std::vector<Color> m_pens{0x000000};
    std::vector<Color> m_brushes{0xFFFFFF};
    PenHandle m_pen = PenHandle::Stock;
    BrushHandle m_brush = BrushHandle::Stock;
};

// The pen and brush calls of a surface for which a pen or brush is nothing
// but its colour (the SVG and QPainter surfaces): the bookkeeping answers
// them all. A surface that holds lines back in the current pen draws them
// in PenChanging, which runs before another pen becomes the current one.
class ColorHandleSurface : public Surface, protected SurfaceObjects {
public:
    PenHandle CreateSolidPen(Color color) override;
    BrushHandle CreateSolidBrush(Color color) override;
    PenHandle SelectPen(PenHandle pen) override;
    BrushHandle SelectBrush(BrushHandle brush) override;
    void DeletePen(PenHandle pen) override;
    void DeleteBrush(BrushHandle brush) override;

protected:
    virtual void PenChanging(PenHandle /*next*/) {}
};
