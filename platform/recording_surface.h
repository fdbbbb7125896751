#pragma once

#include "platform/surface.h"
#include "platform/text_measurer.h"

#include <string>
#include <vector>

// One drawing call as a recording surface saw it. Only the calls that change
// what ends up on the screen are kept, plus every text measurement with its
// result; creating and releasing pens and brushes is bookkeeping and is
// counted instead (see RecordingSurface).
struct SurfaceOp {
    enum class Kind {
        Measure,   // text, size
        Pen,       // color: the newly selected pen's colour
        Brush,     // color: the newly selected brush's colour
        TextColor, // color
        MoveTo,    // a, b = x, y
        LineTo,    // a, b = x, y
        Text,      // a, b = x, y; text
        Figure,    // a, b, c, d = left, top, right, bottom
        Fill,      // a, b, c, d = left, top, right, bottom; color of the brush
    };
    Kind kind = Kind::MoveTo;
    int a = 0, b = 0, c = 0, d = 0;
    Color color = 0;
    TextSize size;
    std::string text;

    friend bool operator==(const SurfaceOp&, const SurfaceOp&) = default;
};

// A surface that draws nothing and remembers every call in order, so that
// a graph can be checked call by call and written out as text. It starts
// with the stock black pen, the stock white brush and black text.
class RecordingSurface : public Surface, private SurfaceObjects {
public:
    explicit RecordingSurface(const TextMeasurer& measurer)
        : m_measurer(measurer)
    {
    }

    const std::vector<SurfaceOp>& Ops() const { return m_ops; }

    // Resource discipline, for tests: how many pens and brushes were made
    // and released, and how often an object was released while selected.
    int PensCreated() const { return m_pensCreated; }
    int PensDeleted() const { return m_pensDeleted; }
    int BrushesCreated() const { return m_brushesCreated; }
    int BrushesDeleted() const { return m_brushesDeleted; }
    int DeletedWhileSelected() const { return m_deletedWhileSelected; }
    PenHandle SelectedPen() const { return CurrentPen(); }
    BrushHandle SelectedBrush() const { return CurrentBrush(); }
    Color TextColor() const { return m_textColor; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    TextSize MeasureText(std::string_view utf8) override;
    Color SetTextColor(Color color) override;
    PenHandle CreateSolidPen(Color color) override;
    BrushHandle CreateSolidBrush(Color color) override;
    PenHandle SelectPen(PenHandle pen) override;
    BrushHandle SelectBrush(BrushHandle brush) override;
    void DeletePen(PenHandle pen) override;
    void DeleteBrush(BrushHandle brush) override;
    void DrawFigure(Rect bounds) override;
    void FillRect(Rect area, BrushHandle brush) override;

private:
    const TextMeasurer& m_measurer;
    std::vector<SurfaceOp> m_ops;
    Color m_textColor = 0x000000;
    int m_pensCreated = 0, m_pensDeleted = 0;
    int m_brushesCreated = 0, m_brushesDeleted = 0;
    int m_deletedWhileSelected = 0;
};

// The text form of a recording, one call per line, for tools and tests:
//   client L T R B            (first line: the client area drawn into)
//   measure "TEXT" W H        (every text extent asked for, with its result)
//   pen 0xAABBGGRR            (the selected pen changed; likewise brush)
//   brush 0xAABBGGRR
//   textcolor 0xAABBGGRR      (every set, restores included)
//   moveto X Y / lineto X Y
//   text X Y "TEXT"
//   figure L T R B            (the marker)
//   fill L T R B 0xAABBGGRR   (a rectangle fill; the graph itself never fills)
// Colours are 8 upper-case hex digits of the 32-bit value; texts are UTF-8
// with '"' and '\' escaped by a backslash, and control characters written
// as \xHH so that every call stays on its own line.
std::string OpsText(const Rect& client, const std::vector<SurfaceOp>& ops);
std::string OpLine(const SurfaceOp& op);
std::string QuoteOpsText(std::string_view utf8);
std::string HexColor(Color color);
