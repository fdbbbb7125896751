#include "graph_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The scale row drawn for weight t at row y: label, its colour and restore, grid line.
void ExpectRow(std::vector<std::string>& expected, const std::string& label, int y)
{
    const int width = static_cast<int>(label.size()) * 6;
    expected.push_back("measure \"" + label + "\" " + std::to_string(width) + " 12");
    expected.push_back("textcolor " + SlotColor(2));
    expected.push_back("text 3 " + std::to_string(y - 6) + " \"" + label + "\"");
    expected.push_back("textcolor 0x00000000");
    expected.push_back("moveto " + std::to_string(width + 3) + " " + std::to_string(y));
    expected.push_back("lineto 235 " + std::to_string(y));
}

TEST(DrawGraph, GeometryExampleCallByCall)
{
    // 240 x 268: P = 200, B = 230; 60.0 to 65.0 over 30 days: ky = 40, kx = 200 / 33.
    GraphRun run;
    const auto lines = run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {65.0, 2001, 1, 31}}), DistinctColors());

    std::vector<std::string> expected = {"client 0 0 240 268", "pen " + SlotColor(1), "measure \"88/88\" 30 12"};
    for (int k = 0; k <= 11; ++k)
        ExpectRow(expected, FormatString("%.1fkg", 60.0 + 0.5 * k), 230 - 20 * k);
    // L = width of "65.5kg" + 3 = 39; the second record lies at L + 181.
    const std::vector<std::string> rest = {
        "pen " + SlotColor(3),
        "measure \"88/88\" 30 12",
        "measure \"1/1\" 18 12",
        "textcolor " + SlotColor(3),
        "text 30 242 \"1/1\"",
        "textcolor 0x00000000",
        "moveto 39 230",
        "lineto 39 10",
        "measure \"1/31\" 24 12",
        "textcolor " + SlotColor(3),
        "text 208 242 \"1/31\"",
        "textcolor 0x00000000",
        "moveto 220 230",
        "lineto 220 10",
        "pen " + SlotColor(0),
        "moveto 39 230",
        "lineto 220 30",
        "brush " + SlotColor(0),
        "figure 218 28 223 33",
        "brush 0x00FFFFFF",
        "pen 0x00000000",
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(lines, expected);
}

TEST(DrawGraph, LeavesTheSurfaceAsItFoundIt)
{
    GraphRun run;
    GraphViewState state = DistinctColors();
    state.m_avgNarrow = state.m_avgNormal = state.m_avgWide = true;
    run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {62.0, 2001, 1, 9}, {61.0, 2001, 2, 3}}), state);
    EXPECT_EQ(run.surface.PensCreated(), 6);
    EXPECT_EQ(run.surface.PensDeleted(), 6);
    EXPECT_EQ(run.surface.BrushesCreated(), 1);
    EXPECT_EQ(run.surface.BrushesDeleted(), 1);
    EXPECT_EQ(run.surface.DeletedWhileSelected(), 0);
    EXPECT_EQ(run.surface.SelectedPen(), PenHandle::Stock);
    EXPECT_EQ(run.surface.SelectedBrush(), BrushHandle::Stock);
    EXPECT_EQ(run.surface.TextColor(), 0u);
}

TEST(DrawGraph, EmptyDiaryDrawsNothing)
{
    GraphRun run;
    run.Draw(MakeDoc({}), DistinctColors());
    EXPECT_TRUE(run.surface.Ops().empty());
    EXPECT_EQ(run.surface.PensCreated(), 0);
}

TEST(DrawGraph, OneRecordSitsOnTheMiddleRowWithoutScale)
{
    GraphRun run;
    const auto lines = run.Draw(MakeDoc({{64.3, 2001, 3, 5}}), DistinctColors());
    // No range: no scale row, L = width of "88/88" + 3, the point on row 30 + P / 2.
    const std::vector<std::string> expected = {
        "client 0 0 240 268",
        "pen " + SlotColor(1),
        "measure \"88/88\" 30 12",
        "pen " + SlotColor(3),
        "measure \"88/88\" 30 12",
        "measure \"3/5\" 18 12",
        "textcolor " + SlotColor(3),
        "text 24 242 \"3/5\"",
        "textcolor 0x00000000",
        "moveto 33 230",
        "lineto 33 10",
        "pen " + SlotColor(0),
        "moveto 33 130",
        "brush " + SlotColor(0),
        "figure 31 128 36 133",
        "brush 0x00FFFFFF",
        "pen 0x00000000",
    };
    EXPECT_EQ(lines, expected);
}

TEST(DrawGraph, EqualWeightsLieOnTheMiddleRowOfAnOddPlot)
{
    GraphRun run;
    // 241 x 251: P = 201, so the middle row is 30 + 100.
    run.Draw(MakeDoc({{70.0, 2001, 1, 1}, {70.0, 2001, 1, 20}}), DistinctColors(), {0, 0, 241, 251});
    const auto lines = OfKind(run.surface.Ops(), SurfaceOp::Kind::LineTo);
    ASSERT_FALSE(lines.empty());
    // Span 19: Sx = 20.9, so the second point lies at trunc(19 * 201 / 20.9 + 33).
    EXPECT_EQ(lines.back(), "lineto 215 130");
}

TEST(DrawGraph, ScaleEndsAtTheWindowTop)
{
    // 22-pixel labels put the 65.5 row (y = 10) above the top edge; 21-pixel ones do not.
    for (const int height : {21, 22}) {
        FixedWidthMeasurer measurer(6, height, 10);
        RecordingSurface surface(measurer);
        MemoryProfileStore profile;
        DrawGraph(surface, {0, 0, 240, 268}, MakeDoc({{60.0, 2001, 1, 1}, {65.0, 2001, 1, 31}}), DistinctColors(),
            profile);
        const auto texts = OfKind(surface.Ops(), SurfaceOp::Kind::Text);
        const int rows = height == 21 ? 12 : 11;
        ASSERT_GE(texts.size(), static_cast<std::size_t>(rows));
        EXPECT_EQ(texts[rows - 1],
            FormatString("text 3 %d \"%.1fkg\"", 230 - 20 * (rows - 1) - height / 2, 60.0 + 0.5 * (rows - 1)))
            << "label height " << height;
        EXPECT_EQ(texts[rows].substr(0, 7), "text 30") << "the next text is the first date label";
    }
}

TEST(DrawGraph, ScaleMeetsTheLimitExactly)
{
    // 0 to 10 with step 1: rows 0..10, and 11.0 is the limit itself, so no row for it.
    GraphRun run;
    run.Draw(MakeDoc({{-5.0, 2001, 1, 1}, {5.0, 2001, 1, 2}}, 0, u""), DistinctColors(), {0, 0, 440, 600});
    const auto texts = OfKind(run.surface.Ops(), SurfaceOp::Kind::Text);
    std::vector<std::string> scale;
    for (const std::string& t : texts)
        if (t.rfind("text 3 ", 0) == 0)
            scale.push_back(t.substr(t.find('"')));
    ASSERT_EQ(scale.size(), 11u);
    EXPECT_EQ(scale.front(), "\"-5\"");
    EXPECT_EQ(scale.back(), "\"5\"");
}

TEST(DrawGraph, TinyRangeHasNoScaleAndTheMarginOfTheSample)
{
    // A range of 1/128 gives a step below 0.001; 1/64 gives one above.
    GraphRun tiny;
    tiny.Draw(MakeDoc({{64.0, 2001, 1, 1}, {64.0078125, 2001, 1, 2}}), DistinctColors());
    EXPECT_EQ(OfKind(tiny.surface.Ops(), SurfaceOp::Kind::Text).size(), 1u);
    EXPECT_EQ(OfKind(tiny.surface.Ops(), SurfaceOp::Kind::MoveTo).at(1), "moveto 33 230") << "L = 30 + 3";

    GraphRun small;
    small.Draw(MakeDoc({{64.0, 2001, 1, 1}, {64.015625, 2001, 1, 2}}), DistinctColors());
    EXPECT_GT(OfKind(small.surface.Ops(), SurfaceOp::Kind::Text).size(), 1u);
}

TEST(DrawGraph, DateLabelsTooCloseAreSkipped)
{
    std::vector<Day> days;
    for (int d = 1; d <= 31; ++d)
        days.push_back({60.0 + d % 3, 2001, 1, d});
    GraphRun run;
    run.Draw(MakeDoc(days, 0, u"k"), DistinctColors());
    // Scale labels "60k" .. "63k" are 18 wide, so L = 21; kx = 200 / 33.
    std::vector<std::string> labels;
    for (const SurfaceOp& op : run.surface.Ops())
        if (op.kind == SurfaceOp::Kind::Text && op.b == 242)
            labels.push_back(op.text);
    // After an 18-pixel label the next needs x more than 22 to the right, after
    // a 24-pixel one more than 28: days 0, 4, 8, 12, 17, 22, 27; day 30 is too close.
    EXPECT_EQ(labels, (std::vector<std::string>{"1/1", "1/5", "1/9", "1/13", "1/18", "1/23", "1/28"}));
}

TEST(DrawGraph, DateLabelStartingLeftOfTheWindowIsDrawnAtZero)
{
    GraphRun run;
    // A month and day no calendar has: "-32768/-32768" is 78 wide, centred on L = 33.
    run.Draw(MakeDoc({{60.0, 2001, -32768, -32768}}), DistinctColors());
    const auto texts = OfKind(run.surface.Ops(), SurfaceOp::Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "text 0 242 \"-32768/-32768\"");
}

TEST(DrawGraph, DateStylesComeFromTheProfileOnEveryLabel)
{
    class CountingProfile : public MemoryProfileStore {
    public:
        int GetProfileInt(const std::string& s, const std::string& e, int d) const override
        {
            ++reads;
            return MemoryProfileStore::GetProfileInt(s, e, d);
        }
        mutable int reads = 0;
    };
    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    CountingProfile profile;
    profile.WriteProfileInt("SHOW", "X", 3);
    DrawGraph(surface, {0, 0, 240, 268}, MakeDoc({{60.0, 2001, 3, 5}, {61.0, 2001, 3, 6}, {61.0, 2001, 4, 30}}),
        DistinctColors(), profile);
    std::vector<std::string> labels;
    for (const SurfaceOp& op : surface.Ops())
        if (op.kind == SurfaceOp::Kind::Text && op.b == 242)
            labels.push_back(op.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"010305", "010430"}));
    EXPECT_EQ(profile.reads, 2) << "read once for each label drawn, not for skipped ones";
}

TEST(DrawGraph, DateLabelFormats)
{
    EXPECT_EQ(DateLabel(2, 2001, 3, 5), "01/03/05");
    EXPECT_EQ(DateLabel(3, 2001, 3, 5), "010305");
    EXPECT_EQ(DateLabel(1, 2001, 3, 5), "3/5");
    EXPECT_EQ(DateLabel(0, 2001, 3, 5), "3/5");
    EXPECT_EQ(DateLabel(7, 2001, 12, 25), "12/25");
    EXPECT_EQ(DateLabel(2, 2000, 10, 31), "00/10/31");
    EXPECT_EQ(DateLabel(2, -32768, 1, 1), "-68/01/01") << "the remainder of a signed division";
}

TEST(DrawGraph, ScaleLabelFormats)
{
    EXPECT_EQ(ScaleLabel(60.5, 1, "kg"), "60.5kg");
    EXPECT_EQ(ScaleLabel(60.25, 0, "k"), "60k");
    EXPECT_EQ(ScaleLabel(1.0, 3, ""), "1.000");
    EXPECT_EQ(ScaleLabel(60.5, 2, "％100"), "60.50％100") << "the unit is text, never a format";
    // A file may carry any digit count; the labels keep to 0..20 decimals.
    EXPECT_EQ(ScaleLabel(60.25, -3, "k"), "60k");
    EXPECT_EQ(ScaleLabel(0.5, 1000, ""), "0.50000000000000000000");
}

TEST(DrawGraph, JapaneseUnitIsMeasuredAndDrawnAsUtf8)
{
    GraphRun run;
    run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {61.0, 2001, 1, 31}}, 0, u"ｷﾛ"), DistinctColors());
    const auto texts = OfKind(run.surface.Ops(), SurfaceOp::Kind::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "text 3 224 \"60ｷﾛ\"");
}

TEST(DrawGraph, RecordsOutOfOrderRunBackAndSkipTheirLabels)
{
    GraphRun run;
    // Offsets 0, -10 and 10 days over a span of 10: kx = 200 / 11.
    run.Draw(MakeDoc({{60.0, 2001, 1, 11}, {62.0, 2001, 1, 1}, {61.0, 2001, 1, 21}}), DistinctColors());
    std::vector<std::string> labels;
    for (const SurfaceOp& op : run.surface.Ops())
        if (op.kind == SurfaceOp::Kind::Text && op.b == 242)
            labels.push_back(op.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"1/11", "1/21"}));
    // L = 39 (six-character labels): the line visits 39, -142 and 220.
    const auto lineTos = OfKind(run.surface.Ops(), SurfaceOp::Kind::LineTo);
    const auto moveTos = OfKind(run.surface.Ops(), SurfaceOp::Kind::MoveTo);
    ASSERT_GE(lineTos.size(), 2u);
    EXPECT_EQ(moveTos.back(), "moveto 39 230");
    EXPECT_EQ(lineTos[lineTos.size() - 2], "lineto -142 30");
    EXPECT_EQ(lineTos.back(), "lineto 220 130");
}

TEST(DrawGraph, SeveralRecordsInOneColumnAreAllVisitedAndTheLastIsKept)
{
    GraphRun run;
    GraphViewState state = DistinctColors();
    state.m_avgNarrow = true;
    // Span 1000 days: kx = 200 / 1100, so days 0, 1 and 2 share column L.
    run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {70.0, 2001, 1, 2}, {65.0, 2001, 1, 3}, {60.0, 2003, 9, 28}}), state);
    const auto& ops = run.surface.Ops();
    std::vector<std::string> line;
    std::size_t curve = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (OpLine(ops[i]) == "pen " + SlotColor(0) && line.empty()) {
            for (std::size_t j = i + 1; j < i + 5; ++j)
                line.push_back(OpLine(ops[j]));
        }
        if (OpLine(ops[i]) == "pen " + SlotColor(4))
            curve = i + 1;
    }
    // L = width("70.0kg") + 3 = 39; 60 -> y 230, 70 -> 30, 65 -> 130.
    EXPECT_EQ(line, (std::vector<std::string>{"moveto 39 230", "lineto 39 30", "lineto 39 130", "lineto 220 230"}));
    ASSERT_GT(curve, 0u);
    EXPECT_EQ(OpLine(ops[curve]), "moveto 39 130") << "the curve starts from the last record in column L";
}

TEST(DrawGraph, CurvesComeInOrderNarrowNormalWide)
{
    GraphRun run;
    GraphViewState state = DistinctColors();
    state.m_avgNarrow = state.m_avgNormal = state.m_avgWide = true;
    run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {65.0, 2001, 1, 31}}), state);
    std::vector<std::string> pens = OfKind(run.surface.Ops(), SurfaceOp::Kind::Pen);
    const std::vector<std::string> tail(pens.end() - 7, pens.end());
    EXPECT_EQ(tail,
        (std::vector<std::string>{"pen " + SlotColor(4), "pen " + SlotColor(0), "pen " + SlotColor(5),
            "pen " + SlotColor(0), "pen " + SlotColor(6), "pen " + SlotColor(0), "pen 0x00000000"}));
    // Each curve draws columns max(n, L) .. 239 with L = 39.
    int segments = 0;
    int curves = 0;
    for (const SurfaceOp& op : run.surface.Ops()) {
        if (op.kind == SurfaceOp::Kind::Pen && (op.color & 0xF) >= 4 && (op.color & 0xF) <= 6) {
            ++curves;
            segments = 0;
        } else if (op.kind == SurfaceOp::Kind::LineTo && curves > 0) {
            ++segments;
        } else if (op.kind == SurfaceOp::Kind::Pen && curves > 0) {
            EXPECT_EQ(segments, 201) << "curve " << curves;
        }
    }
    EXPECT_EQ(curves, 3);
}

TEST(DrawGraph, CurveRunsFlatPastTheLastRecord)
{
    GraphRun run;
    GraphViewState state = DistinctColors();
    state.m_avgWide = true;
    run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {65.0, 2001, 1, 11}}), state, {0, 0, 400, 268});
    // P = 228, B = 258; the last point at x = trunc(10 * 228 / 11 + 39) = 246, y = 30.
    const auto lineTos = OfKind(run.surface.Ops(), SurfaceOp::Kind::LineTo);
    ASSERT_FALSE(lineTos.empty());
    EXPECT_EQ(lineTos.back(), "lineto 399 30");
    const std::string flatFrom = "lineto 275 30";
    const std::string beforeFlat = "lineto 274 30";
    EXPECT_NE(std::find(lineTos.begin(), lineTos.end(), flatFrom), lineTos.end());
    EXPECT_EQ(std::find(lineTos.begin(), lineTos.end(), beforeFlat), lineTos.end())
        << "column 274 still sees the step at 246";
}

} // namespace

namespace {

TEST(DrawGraph, DateLabelsStayInsideAWindowWiderThanTall)
{
    for (const Rect client : {Rect{0, 0, 400, 268}, Rect{0, 0, 268, 268}, Rect{0, 0, 240, 268}}) {
        GraphRun run;
        run.Draw(MakeDoc({{60.0, 2001, 1, 1}, {65.0, 2001, 1, 31}}), DistinctColors(), client);
        const int plotBottom = std::min(client.right, client.bottom) - 10;
        const int expectedRow = std::min(plotBottom + 12, client.bottom - 12);
        int labels = 0;
        for (const SurfaceOp& op : run.surface.Ops()) {
            if (op.kind == SurfaceOp::Kind::Text && op.a != 3) {
                EXPECT_EQ(op.b, expectedRow) << client.right << "x" << client.bottom;
                ++labels;
            }
        }
        EXPECT_EQ(labels, 2);
    }
}

} // namespace
