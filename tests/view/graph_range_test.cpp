// The view menu's range and fill: a range draws what the diary cut to the
// range draws, and a filled plot uses the window without labels running
// into each other.
#include "graph_test_support.h"

#include "platform/calendar_date.h"
#include "view/shown_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

std::int64_t DayOf(const WeightRecord& r)
{
    return CalendarDate::FromYmd(r.year, r.month, r.day).DayNumber();
}

// The diary a range should look like, built the plain way: every record
// dated within `days` days ending on the latest date, in the diary's order.
CTarelogDoc CutDiary(const CTarelogDoc& doc, int days)
{
    std::int64_t latest = INT64_MIN;
    for (const WeightRecord& r : doc.Records())
        latest = std::max(latest, DayOf(r));
    CTarelogDoc cut;
    for (const WeightRecord& r : doc.Records())
        if (DayOf(r) > latest - days)
            cut.AppendRecord(r);
    cut.m_unit = doc.m_unit;
    cut.m_digits = doc.m_digits;
    return cut;
}

std::vector<Day> Daily(int count, int year, double (*weight)(int))
{
    std::vector<Day> days;
    for (int i = 0; i < count; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(year, 1, 1 + i);
        days.push_back({weight(i), date.Year(), date.Month(), date.Day()});
    }
    return days;
}

// Three years: down 8 kg over two, then up 3.
double DownThenUp(int i)
{
    return i < 730 ? 84.0 - 8.0 * i / 730 : 76.0 + 3.0 * (i - 730) / 365 + (i % 5) * 0.1;
}

struct NamedDiary {
    const char* name;
    CTarelogDoc doc;
};

std::vector<NamedDiary> Diaries()
{
    std::vector<NamedDiary> diaries;
    diaries.push_back({"three years daily", MakeDoc(Daily(1095, 2023, DownThenUp))});
    std::vector<Day> sparse;
    for (int i = 0, day = 1; i < 60; ++i, day += (i % 7 == 0 ? 40 : 3))
        sparse.push_back({70.0 + std::sin(i * 0.7) * 4.0, 2020, 1, day});
    diaries.push_back({"sparse with gaps", MakeDoc(sparse, 2, u"lb")});
    diaries.push_back({"one record", MakeDoc({{64.3, 2001, 3, 5}})});
    diaries.push_back({"two far apart", MakeDoc({{60.0, 2000, 1, 1}, {65.0, 2003, 6, 1}})});
    diaries.push_back({"flat", MakeDoc(Daily(200, 2010, [](int) { return 70.0; }))});
    std::vector<Day> shuffled = Daily(120, 2019, [](int i) { return 60.0 + (i * 37 % 11); });
    for (std::size_t i = 0; i < shuffled.size(); ++i)
        std::swap(shuffled[i], shuffled[(i * 53) % shuffled.size()]);
    diaries.push_back({"out of date order", MakeDoc(shuffled)});
    diaries.push_back(
        {"rolled-over dates", MakeDoc({{61.0, 2002, 11, 20}, {62.5, 2002, 13, 1}, {60.0, 2002, 12, 40}})});
    return diaries;
}

std::vector<std::string> Drawn(const CTarelogDoc& doc, const GraphViewState& state, Rect client)
{
    GraphRun run;
    return run.Draw(doc, state, client);
}

TEST(GraphRange, DrawsExactlyWhatTheCutDiaryDraws)
{
    const Rect sizes[] = {{0, 0, 240, 268}, {0, 0, 640, 480}, {0, 0, 1600, 700}, {0, 0, 60, 40}, {0, 0, 1920, 1200}};
    std::vector<GraphViewState> states(3, DistinctColors());
    states[1].m_avgNarrow = states[1].m_avgNormal = states[1].m_avgWide = true;
    states[1].m_fill = true;
    states[2].m_goal = 66.0;
    states[2].m_fill = true;
    int cutsThatDropRecords = 0;
    for (const NamedDiary& diary : Diaries()) {
        for (const int range : {28, 91, 182, 365, 100000}) {
            const CTarelogDoc cut = CutDiary(diary.doc, range);
            ASSERT_GT(cut.GetRecordCount(), 0);
            cutsThatDropRecords += cut.GetRecordCount() < diary.doc.GetRecordCount();
            for (GraphViewState state : states) {
                for (const Rect& client : sizes) {
                    state.m_rangeDays = range;
                    const std::vector<std::string> ranged = Drawn(diary.doc, state, client);
                    state.m_rangeDays = 0;
                    EXPECT_EQ(ranged, Drawn(cut, state, client))
                        << diary.name << ", " << range << " days, " << client.right << "x" << client.bottom;
                }
            }
        }
    }
    EXPECT_GE(cutsThatDropRecords, 12) << "the table must exercise real cuts";
}

TEST(GraphRange, KeepsTheLastDaysOfAnOrderedDiary)
{
    const CTarelogDoc doc = MakeDoc(Daily(1095, 2023, DownThenUp));
    const ShownRecords shown(doc, 28);
    ASSERT_EQ(shown.Records().size(), 28u);
    EXPECT_EQ(shown.DiaryIndex(0), 1095u - 28u);
    EXPECT_EQ(shown.Records().data(), doc.Records().data() + 1067) << "a tail is lent, not copied";
    EXPECT_EQ(ShownRecords(doc, 0).Records().size(), 1095u);
}

TEST(GraphRange, GathersTheRangeOfAnUnorderedDiary)
{
    // The latest date is the largest, wherever it stands.
    const CTarelogDoc doc = MakeDoc({{60.0, 2001, 1, 30}, {61.0, 2001, 1, 1}, {62.0, 2001, 1, 25}, {63.0, 2001, 1, 2}});
    const ShownRecords shown(doc, 6);
    ASSERT_EQ(shown.Records().size(), 2u);
    EXPECT_EQ(shown.Records()[0].weight, 60.0);
    EXPECT_EQ(shown.Records()[1].weight, 62.0);
    EXPECT_EQ(shown.DiaryIndex(1), 2u);
}

// The rectangles of every label drawn, from the measure before each text.
std::vector<Rect> LabelRects(const std::vector<SurfaceOp>& ops)
{
    std::vector<Rect> rects;
    TextSize size;
    for (const SurfaceOp& op : ops) {
        if (op.kind == SurfaceOp::Kind::Measure)
            size = op.size;
        if (op.kind == SurfaceOp::Kind::Text)
            rects.push_back({op.a, op.b, op.a + size.width, op.b + size.height});
    }
    return rects;
}

int Overlaps(const std::vector<Rect>& rects)
{
    int count = 0;
    for (std::size_t i = 0; i < rects.size(); ++i)
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            count += rects[i].left < rects[j].right && rects[j].left < rects[i].right && rects[i].top < rects[j].bottom
                && rects[j].top < rects[i].bottom;
    return count;
}

TEST(GraphFill, NoLabelRunsIntoAnother)
{
    std::vector<Day> monthly;
    for (int m = 0; m < 36; ++m)
        monthly.push_back({80.0 - m * 0.3 + (m % 4) * 0.7, 2020 + m / 12, 1 + m % 12, m % 2 ? 31 - m % 3 : 1});
    const CTarelogDoc diaries[] = {MakeDoc(Daily(1095, 2023, DownThenUp)), MakeDoc(monthly),
        MakeDoc(Daily(40, 2001, [](int i) { return 60.0 + i * 0.5; }))};
    const Rect sizes[] = {{0, 0, 1600, 700}, {0, 0, 1920, 1200}, {0, 0, 800, 200}, {0, 0, 300, 800}, {0, 0, 640, 90}};
    for (const CTarelogDoc& doc : diaries) {
        for (const Rect& client : sizes) {
            GraphRun run;
            GraphViewState state = DistinctColors();
            state.m_fill = true;
            run.Draw(doc, state, client);
            EXPECT_EQ(Overlaps(LabelRects(run.surface.Ops())), 0) << client.right << "x" << client.bottom;
        }
    }
    // The square plot of a window wider than tall puts the date row over the
    // lowest scale label, which is what the filled layout keeps apart.
    GraphRun square;
    square.Draw(diaries[0], DistinctColors(), sizes[0]);
    EXPECT_GT(Overlaps(LabelRects(square.surface.Ops())), 0);
}

TEST(GraphFill, ThePlotTakesTheWholeWindow)
{
    const CTarelogDoc doc = MakeDoc(Daily(1095, 2023, DownThenUp));
    GraphViewState state = DistinctColors();
    const auto lastLinePoint = [&](bool fill) {
        state.m_fill = fill;
        GraphRun run;
        run.Draw(doc, state, {0, 0, 1600, 700});
        const std::vector<SurfaceOp>& ops = run.surface.Ops();
        const auto figure = std::find_if(ops.begin(), ops.end(),
            [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Figure; });
        EXPECT_NE(figure, ops.end());
        return figure == ops.end() ? Point{} : Point{figure->a + 2, figure->b + 2};
    };
    // Square: P = 660, so the days end near L + 600. Filled: near L + (1600 - L - 10) / 1.1.
    EXPECT_LT(lastLinePoint(false).x, 700);
    const Point filled = lastLinePoint(true);
    EXPECT_GT(filled.x, 1400);
    EXPECT_LT(filled.x, 1600 - 10);
}

TEST(GraphFill, TheWideAverageRunsToTheRightEdgeOfAWideWindow)
{
    // Every column the filled plot uses, up to W + 29, is in the column
    // table: right of the last point the curve lies flat on its height.
    const CTarelogDoc doc = MakeDoc(Daily(400, 2023, [](int i) { return 70.0 + (i % 9) * 0.4; }));
    GraphViewState state = DistinctColors();
    state.m_fill = true;
    state.m_avgWide = true;
    GraphRun run;
    run.Draw(doc, state, {0, 0, 3000, 900});
    const std::vector<SurfaceOp>& ops = run.surface.Ops();
    const auto figure = std::find_if(ops.begin(), ops.end(),
        [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Figure; });
    ASSERT_NE(figure, ops.end());
    const int lastY = figure->b + 2;
    const std::vector<std::string> lines = OfKind(ops, SurfaceOp::Kind::LineTo);
    EXPECT_EQ(lines.back(), FormatString("lineto 2999 %d", lastY));
}

} // namespace
