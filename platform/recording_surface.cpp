#include "platform/recording_surface.h"

#include "platform/format.h"

#include <utility>

namespace {

SurfaceOp MakeOp(SurfaceOp::Kind kind, int a = 0, int b = 0, int c = 0, int d = 0)
{
    SurfaceOp op;
    op.kind = kind;
    op.a = a;
    op.b = b;
    op.c = c;
    op.d = d;
    return op;
}

SurfaceOp WithColor(SurfaceOp op, Color color)
{
    op.color = color;
    return op;
}

SurfaceOp WithText(SurfaceOp op, std::string_view text)
{
    op.text = std::string(text);
    return op;
}

} // namespace

void RecordingSurface::MoveTo(int x, int y)
{
    m_ops.push_back(MakeOp(SurfaceOp::Kind::MoveTo, x, y));
}

void RecordingSurface::LineTo(int x, int y)
{
    m_ops.push_back(MakeOp(SurfaceOp::Kind::LineTo, x, y));
}

void RecordingSurface::TextOut(int x, int y, std::string_view utf8)
{
    m_ops.push_back(WithText(MakeOp(SurfaceOp::Kind::Text, x, y), utf8));
}

TextSize RecordingSurface::MeasureText(std::string_view utf8)
{
    const TextSize size = m_measurer.Measure(utf8);
    SurfaceOp op = WithText(MakeOp(SurfaceOp::Kind::Measure), utf8);
    op.size = size;
    m_ops.push_back(std::move(op));
    return size;
}

Color RecordingSurface::SetTextColor(Color color)
{
    const Color previous = m_textColor;
    m_textColor = color;
    m_ops.push_back(WithColor(MakeOp(SurfaceOp::Kind::TextColor), color));
    return previous;
}

PenHandle RecordingSurface::CreateSolidPen(Color color)
{
    ++m_pensCreated;
    return NewPen(color);
}

BrushHandle RecordingSurface::CreateSolidBrush(Color color)
{
    ++m_brushesCreated;
    return NewBrush(color);
}

PenHandle RecordingSurface::SelectPen(PenHandle pen)
{
    const PenHandle previous = SwapPen(pen);
    if (pen != previous)
        m_ops.push_back(WithColor(MakeOp(SurfaceOp::Kind::Pen), PenColor(pen)));
    return previous;
}

BrushHandle RecordingSurface::SelectBrush(BrushHandle brush)
{
    const BrushHandle previous = SwapBrush(brush);
    if (brush != previous)
        m_ops.push_back(WithColor(MakeOp(SurfaceOp::Kind::Brush), BrushColor(brush)));
    return previous;
}

void RecordingSurface::DeletePen(PenHandle pen)
{
    ++m_pensDeleted;
    if (pen == CurrentPen())
        ++m_deletedWhileSelected;
    ReleasePen(pen);
}

void RecordingSurface::DeleteBrush(BrushHandle brush)
{
    ++m_brushesDeleted;
    if (brush == CurrentBrush())
        ++m_deletedWhileSelected;
    ReleaseBrush(brush);
}

void RecordingSurface::DrawFigure(Rect bounds)
{
    m_ops.push_back(MakeOp(SurfaceOp::Kind::Figure, bounds.left, bounds.top, bounds.right, bounds.bottom));
}

void RecordingSurface::FillRect(Rect area, BrushHandle brush)
{
    m_ops.push_back(
        WithColor(MakeOp(SurfaceOp::Kind::Fill, area.left, area.top, area.right, area.bottom), BrushColor(brush)));
}

std::string HexColor(Color color)
{
    return FormatString("0x%08X", static_cast<unsigned>(color));
}

std::string QuoteOpsText(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += FormatString("\\x%02X", static_cast<unsigned>(byte));
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string OpLine(const SurfaceOp& op)
{
    using Kind = SurfaceOp::Kind;
    switch (op.kind) {
    case Kind::Measure:
        return "measure " + QuoteOpsText(op.text) + FormatString(" %d %d", op.size.width, op.size.height);
    case Kind::Pen: return "pen " + HexColor(op.color);
    case Kind::Brush: return "brush " + HexColor(op.color);
    case Kind::TextColor: return "textcolor " + HexColor(op.color);
    case Kind::MoveTo: return FormatString("moveto %d %d", op.a, op.b);
    case Kind::LineTo: return FormatString("lineto %d %d", op.a, op.b);
    case Kind::Text: return FormatString("text %d %d ", op.a, op.b) + QuoteOpsText(op.text);
    case Kind::Figure: return FormatString("figure %d %d %d %d", op.a, op.b, op.c, op.d);
    case Kind::Fill: return FormatString("fill %d %d %d %d ", op.a, op.b, op.c, op.d) + HexColor(op.color);
    }
    return {};
}

std::string OpsText(const Rect& client, const std::vector<SurfaceOp>& ops)
{
    std::string out = FormatString("client %d %d %d %d\n", client.left, client.top, client.right, client.bottom);
    for (const SurfaceOp& op : ops) {
        out += OpLine(op);
        out += '\n';
    }
    return out;
}
