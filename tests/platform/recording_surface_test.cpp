#include "platform/recording_surface.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordingSurface, TextFormOfEveryCall)
{
    FixedWidthMeasurer measurer(6, 12, 10);
    RecordingSurface surface(measurer);
    const PenHandle pen = surface.CreateSolidPen(0x00332211);
    const BrushHandle brush = surface.CreateSolidBrush(0xFF0000FF);
    EXPECT_EQ(surface.SelectPen(pen), PenHandle::Stock);
    EXPECT_EQ(surface.SelectBrush(brush), BrushHandle::Stock);
    EXPECT_EQ(surface.MeasureText("ab"), (TextSize{12, 12}));
    EXPECT_EQ(surface.SetTextColor(0x00ABCDEF), 0u);
    EXPECT_EQ(surface.SetTextColor(0), 0x00ABCDEFu);
    surface.MoveTo(-1, 2);
    surface.LineTo(3, -4);
    surface.TextOut(5, 6, "x");
    surface.DrawFigure({1, 2, 3, 4});
    surface.FillRect({0, 0, 9, 9}, brush);
    surface.SelectPen(PenHandle::Stock);
    surface.SelectBrush(BrushHandle::Stock);
    surface.DeletePen(pen);
    surface.DeleteBrush(brush);

    EXPECT_EQ(OpsText({0, 0, 240, 268}, surface.Ops()),
        "client 0 0 240 268\n"
        "pen 0x00332211\n"
        "brush 0xFF0000FF\n"
        "measure \"ab\" 12 12\n"
        "textcolor 0x00ABCDEF\n"
        "textcolor 0x00000000\n"
        "moveto -1 2\n"
        "lineto 3 -4\n"
        "text 5 6 \"x\"\n"
        "figure 1 2 3 4\n"
        "fill 0 0 9 9 0xFF0000FF\n"
        "pen 0x00000000\n"
        "brush 0x00FFFFFF\n");
    EXPECT_EQ(surface.DeletedWhileSelected(), 0);
}

TEST(RecordingSurface, PenLineOnlyWhenTheSelectionChanges)
{
    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    const PenHandle a = surface.CreateSolidPen(0x1);
    const PenHandle b = surface.CreateSolidPen(0x1);
    surface.SelectPen(PenHandle::Stock); // already selected
    surface.SelectPen(a);
    surface.SelectPen(a);
    surface.SelectPen(b); // same colour, another pen
    EXPECT_EQ(OpsText({}, surface.Ops()), "client 0 0 0 0\npen 0x00000001\npen 0x00000001\n");
}

TEST(RecordingSurface, CountsReleasesOfSelectedObjects)
{
    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    const PenHandle pen = surface.CreateSolidPen(0x1);
    surface.SelectPen(pen);
    surface.DeletePen(pen);
    const BrushHandle brush = surface.CreateSolidBrush(0x1);
    surface.SelectBrush(brush);
    surface.DeleteBrush(brush);
    EXPECT_EQ(surface.DeletedWhileSelected(), 2);
    EXPECT_EQ(surface.PensDeleted(), 1);
    EXPECT_EQ(surface.BrushesDeleted(), 1);
}

TEST(RecordingSurface, TextsAreQuotedOnOneLine)
{
    EXPECT_EQ(QuoteOpsText("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(QuoteOpsText("kg\n\x7f"), "\"kg\\x0A\\x7F\"");
    EXPECT_EQ(QuoteOpsText("ｷﾛ"), "\"ｷﾛ\"");
    EXPECT_EQ(HexColor(0xDEADBEEF), "0xDEADBEEF");
}

TEST(FixedWidthMeasurer, CountsCodePointsNotBytes)
{
    FixedWidthMeasurer measurer(7, 13, 11);
    EXPECT_EQ(measurer.Measure("88/88"), (TextSize{35, 13}));
    EXPECT_EQ(measurer.Measure("60ｷﾛ"), (TextSize{28, 13}));
    EXPECT_EQ(measurer.Measure(""), (TextSize{0, 13}));
    EXPECT_EQ(measurer.Ascent(), 11);
}

} // namespace
