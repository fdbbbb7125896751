#include "platform/svg_surface.h"

#include <gtest/gtest.h>

namespace {

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(SvgSurface, DocumentHasTheSizeFontAndAWhiteBackground)
{
    FixedWidthMeasurer measurer;
    SvgSurface svg(measurer, 240, 268, "Noto Sans CJK JP", 12);
    const std::string doc = svg.Document();
    EXPECT_EQ(doc.rfind("<?xml", 0), 0u);
    EXPECT_NE(doc.find("width=\"240\" height=\"268\" viewBox=\"0 0 240 268\""), std::string::npos);
    EXPECT_NE(doc.find("font-family=\"Noto Sans CJK JP\""), std::string::npos);
    EXPECT_NE(doc.find("font-size=\"12px\""), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"0\" y=\"0\" width=\"240\" height=\"268\" fill=\"#ffffff\"/>"), std::string::npos);
    EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
}

TEST(SvgSurface, LinesEndOnePixelShortOnPixelCentres)
{
    FixedWidthMeasurer measurer;
    SvgSurface svg(measurer, 20, 20, "f", 12);
    svg.SelectPen(svg.CreateSolidPen(0x00332211));
    svg.MoveTo(3, 10);
    svg.LineTo(8, 10);
    svg.LineTo(8, 10); // no length: nothing
    svg.LineTo(8, 0);
    svg.LineTo(4, 4);
    const std::string doc = svg.Document();
    EXPECT_NE(doc.find("stroke=\"#112233\""), std::string::npos);
    EXPECT_NE(doc.find("d=\"M3.5 10.5L7.5 10.5M8.5 10.5L8.5 1.5M8.5 0.5L5.5 3.5\""), std::string::npos) << doc;
    EXPECT_EQ(Count(doc, "<path"), 1) << "one path for one pen";
}

TEST(SvgSurface, PenChangesAndOtherDrawingKeepTheCallOrder)
{
    FixedWidthMeasurer measurer;
    SvgSurface svg(measurer, 20, 20, "f", 12);
    const PenHandle red = svg.CreateSolidPen(0x0000FF);
    svg.SelectPen(red);
    svg.MoveTo(0, 0);
    svg.LineTo(5, 0);
    svg.SetTextColor(0x00FF00);
    svg.TextOut(1, 2, "a<b&\"c\"\x01");
    svg.LineTo(5, 5);
    svg.SelectPen(PenHandle::Stock);
    svg.LineTo(0, 5);
    const std::string doc = svg.Document();
    const auto first = doc.find("<path fill=\"none\" stroke=\"#ff0000\"");
    const auto text = doc.find(
        "<text xml:space=\"preserve\" x=\"1\" y=\"12\" fill=\"#00ff00\">a&lt;b&amp;&quot;c&quot;\xEF\xBF\xBD</text>");
    const auto second = doc.find("stroke=\"#ff0000\"", text);
    const auto black = doc.find("stroke=\"#000000\"");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(text, std::string::npos) << doc;
    ASSERT_NE(second, std::string::npos);
    ASSERT_NE(black, std::string::npos);
    EXPECT_LT(first, text);
    EXPECT_EQ(Count(doc, "stroke=\"#ff0000\""), 2) << "the text splits the red lines in two paths";
    EXPECT_LT(second, black);
}

TEST(SvgSurface, FigureIsOutlineAroundFill)
{
    FixedWidthMeasurer measurer;
    SvgSurface svg(measurer, 20, 20, "f", 12);
    svg.SelectPen(svg.CreateSolidPen(0x0000FF));
    svg.SelectBrush(svg.CreateSolidBrush(0xFF0000));
    svg.DrawFigure({8, 7, 13, 12});
    svg.DrawFigure({5, 5, 5, 9}); // empty
    svg.FillRect({1, 2, 4, 3}, svg.CreateSolidBrush(0x00FF00));
    const std::string doc = svg.Document();
    EXPECT_NE(doc.find("<rect x=\"8\" y=\"7\" width=\"5\" height=\"5\" fill=\"#ff0000\"/>\n"
                       "<rect x=\"9\" y=\"8\" width=\"3\" height=\"3\" fill=\"#0000ff\"/>\n"
                       "<rect x=\"1\" y=\"2\" width=\"3\" height=\"1\" fill=\"#00ff00\"/>\n"),
        std::string::npos)
        << doc;
    EXPECT_EQ(Count(doc, "<rect"), 4);
}

TEST(SvgSurface, ColourIgnoresTheTopByte)
{
    EXPECT_EQ(SvgColor(0xFF563412), "#123456");
    EXPECT_EQ(XmlEscape("ｷﾛ>"), "ｷﾛ&gt;");
}

} // namespace
