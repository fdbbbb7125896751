#include "platform/svg_surface.h"

#include "platform/format.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Coordinates reach here as ints; the half-pixel offsets need doubles.
std::string Num(double value)
{
    return ShortestDouble(value);
}

} // namespace

std::string SvgColor(Color color)
{
    return FormatString("#%02x%02x%02x", RedOf(color), GreenOf(color), BlueOf(color));
}

std::string XmlEscape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += "\xEF\xBF\xBD";
            else
                out += c;
        }
    }
    return out;
}

SvgSurface::SvgSurface(const TextMeasurer& measurer, int width, int height, std::string fontFamily, int fontPixelSize)
    : m_measurer(measurer)
    , m_width(width)
    , m_height(height)
    , m_fontFamily(std::move(fontFamily))
    , m_fontPixelSize(fontPixelSize)
{
}

std::string SvgSurface::Document()
{
    FlushPath();
    std::string out = FormatString(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
        "shape-rendering=\"crispEdges\" font-size=\"%dpx\" ",
        m_width, m_height, m_width, m_height, m_fontPixelSize);
    out += "font-family=\"" + XmlEscape(m_fontFamily) + "\">\n";
    out += FormatString("<rect x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>\n", m_width, m_height);
    out += m_body;
    out += "</svg>\n";
    return out;
}

void SvgSurface::FlushPath()
{
    if (m_path.empty())
        return;
    m_body += "<path fill=\"none\" stroke=\"" + SvgColor(PenColor(CurrentPen()))
        + "\" stroke-width=\"1\" stroke-linecap=\"square\" d=\"" + m_path + "\"/>\n";
    m_path.clear();
}

void SvgSurface::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void SvgSurface::LineTo(int x, int y)
{
    // The segment ends one pixel step before (x, y) along its longer axis;
    // square caps then cover exactly the pixels from the start up to there.
    const double dx = static_cast<double>(x) - m_x;
    const double dy = static_cast<double>(y) - m_y;
    const double steps = std::max(std::abs(dx), std::abs(dy));
    if (steps > 0.0) {
        const double endX = x - dx / steps;
        const double endY = y - dy / steps;
        m_path += "M" + Num(m_x + 0.5) + " " + Num(m_y + 0.5) + "L" + Num(endX + 0.5) + " " + Num(endY + 0.5);
    }
    m_x = x;
    m_y = y;
}

void SvgSurface::TextOut(int x, int y, std::string_view utf8)
{
    FlushPath();
    m_body += "<text xml:space=\"preserve\" x=\"" + Num(x) + "\" y=\""
        + Num(static_cast<double>(y) + m_measurer.Ascent()) + "\" fill=\"" + SvgColor(m_textColor) + "\">"
        + XmlEscape(utf8) + "</text>\n";
}

TextSize SvgSurface::MeasureText(std::string_view utf8)
{
    return m_measurer.Measure(utf8);
}

Color SvgSurface::SetTextColor(Color color)
{
    return std::exchange(m_textColor, color);
}

void SvgSurface::PenChanging(PenHandle)
{
    FlushPath();
}

void SvgSurface::AddRect(long long left, long long top, long long width, long long height, Color fill)
{
    m_body += FormatString("<rect x=\"%lld\" y=\"%lld\" width=\"%lld\" height=\"%lld\" fill=\"", left, top, width,
                  height)
        + SvgColor(fill) + "\"/>\n";
}

void SvgSurface::DrawFigure(Rect bounds)
{
    FlushPath();
    const long long width = static_cast<long long>(bounds.right) - bounds.left;
    const long long height = static_cast<long long>(bounds.bottom) - bounds.top;
    if (width <= 0 || height <= 0)
        return;
    // Outline as a pen-coloured rectangle with the brush inside it: the
    // same pixels as a one-pixel outline, without relying on stroke rules.
    AddRect(bounds.left, bounds.top, width, height, PenColor(CurrentPen()));
    if (width > 2 && height > 2)
        AddRect(bounds.left + 1LL, bounds.top + 1LL, width - 2, height - 2, BrushColor(CurrentBrush()));
}

void SvgSurface::FillRect(Rect area, BrushHandle brush)
{
    FlushPath();
    const long long width = static_cast<long long>(area.right) - area.left;
    const long long height = static_cast<long long>(area.bottom) - area.top;
    if (width > 0 && height > 0)
        AddRect(area.left, area.top, width, height, BrushColor(brush));
}
