// Reading a day off the graph and zooming its date axis: the pointer finds
// the record the line was drawn through, a zoom draws what the diary cut to
// its days draws, and the window's own additions (the first-weight hint,
// the marked day's ring) leave the graph itself as it was.
#include "graph_test_support.h"
#include "hostile_diaries.h"

#include "platform/calendar_date.h"
#include "view/day_pointing.h"
#include "view/graph_zoom.h"
#include "view/pointing_text.h"
#include "view/shown_records.h"
#include "view/window_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

std::int64_t DayOf(const WeightRecord& r)
{
    return CalendarDate::FromYmd(r.year, r.month, r.day).DayNumber();
}

std::int64_t DayOf(int year, int month, int day)
{
    return CalendarDate::FromYmd(year, month, day).DayNumber();
}

std::vector<Day> Daily(int count, int year)
{
    std::vector<Day> days;
    for (int i = 0; i < count; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(year, 1, 1 + i);
        days.push_back({70.0 + 3.0 * std::sin(i * 0.05) + (i % 3) * 0.2, date.Year(), date.Month(), date.Day()});
    }
    return days;
}

// Two years daily with a half-year hole in the middle.
CTarelogDoc WithGap()
{
    std::vector<Day> days = Daily(730, 2020);
    days.erase(days.begin() + 200, days.begin() + 380);
    return MakeDoc(days);
}

CTarelogDoc Sparse()
{
    std::vector<Day> days;
    for (int i = 0, day = 1; i < 40; ++i, day += (i % 5 == 0 ? 30 : 4))
        days.push_back({65.0 + (i % 7) * 0.6, 2015, 1, day});
    return MakeDoc(days);
}

// The weight line's vertices as the recording saw them: from the slot-0
// pen to the marker's brush.
std::vector<Point> LineVertices(const std::vector<SurfaceOp>& ops)
{
    std::vector<Point> points;
    bool inLine = false;
    for (const SurfaceOp& op : ops) {
        if (op.kind == SurfaceOp::Kind::Pen)
            inLine = op.color == 0x00A0A0A0u;
        else if (op.kind == SurfaceOp::Kind::Brush)
            inLine = false;
        else if (inLine && (op.kind == SurfaceOp::Kind::MoveTo || op.kind == SurfaceOp::Kind::LineTo))
            points.push_back({op.a, op.b});
    }
    return points;
}

struct PointingCase {
    const char* name;
    CTarelogDoc doc;
    GraphViewState state;
    Rect client;
};

std::vector<PointingCase> PointingCases()
{
    std::vector<PointingCase> cases;
    GraphViewState plain = DistinctColors();
    GraphViewState ranged = plain;
    ranged.m_rangeDays = 91;
    GraphViewState filled = plain;
    filled.m_fill = true;
    GraphViewState zoomed = plain;
    zoomed.m_zoom = DaySpan{DayOf(2020, 6, 1), DayOf(2021, 2, 1)}; // across the gap
    GraphViewState zoomedFilled = zoomed;
    zoomedFilled.m_fill = true;
    cases.push_back({"gap, square", WithGap(), plain, {0, 0, 480, 520}});
    cases.push_back({"gap, range", WithGap(), ranged, {0, 0, 480, 520}});
    cases.push_back({"gap, filled", WithGap(), filled, {0, 0, 1200, 500}});
    cases.push_back({"gap, zoomed", WithGap(), zoomed, {0, 0, 640, 480}});
    cases.push_back({"gap, zoomed and filled", WithGap(), zoomedFilled, {0, 0, 1100, 400}});
    cases.push_back({"sparse, filled", Sparse(), filled, {0, 0, 900, 300}});
    cases.push_back({"one record", MakeDoc({{64.3, 2001, 3, 5}}), plain, {0, 0, 240, 268}});
    return cases;
}

} // namespace

TEST(GraphPointing, FindsTheNearestDrawnPointInEveryColumn)
{
    for (const PointingCase& c : PointingCases()) {
        GraphRun run;
        GraphLayout layout;
        DrawGraph(run.surface, c.client, c.doc, c.state, run.profile, nullptr, &layout);
        ASSERT_TRUE(layout.drawn) << c.name;
        const ShownRecords shown = ShownRecordsOf(c.doc, c.state);
        const std::vector<Point> vertices = LineVertices(run.surface.Ops());
        ASSERT_EQ(vertices.size(), shown.Records().size()) << c.name;
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const Point p = ShownRecordPoint(shown.Records(), layout, i);
            ASSERT_EQ(p.x, vertices[i].x) << c.name << ", record " << i;
            ASSERT_EQ(p.y, vertices[i].y) << c.name << ", record " << i;
        }
        for (int x = -20; x < c.client.right + 20; ++x) {
            const std::optional<std::size_t> found = NearestShownRecord(shown.Records(), layout, x);
            ASSERT_TRUE(found) << c.name;
            int nearest = INT32_MAX;
            for (const Point& v : vertices)
                nearest = std::min(nearest, std::abs(v.x - x));
            ASSERT_EQ(std::abs(vertices[*found].x - x), nearest) << c.name << ", column " << x;
            // Of one column's records, the last.
            if (*found + 1 < vertices.size()) {
                ASSERT_NE(vertices[*found + 1].x, vertices[*found].x) << c.name << ", column " << x;
            }
        }
    }
}

TEST(GraphPointing, NothingIsFoundWithoutAPaint)
{
    const CTarelogDoc doc = Sparse();
    EXPECT_FALSE(NearestShownRecord(doc.Records(), GraphLayout{}, 100));
    GraphRun run;
    GraphLayout layout;
    layout.drawn = true;
    DrawGraph(run.surface, {0, 0, 240, 268}, CTarelogDoc(), DistinctColors(), run.profile, nullptr, &layout);
    EXPECT_FALSE(layout.drawn) << "an empty diary draws nothing to point at";
}

namespace {

CTarelogDoc CutToDays(const CTarelogDoc& doc, DaySpan span)
{
    CTarelogDoc cut;
    for (const WeightRecord& r : doc.Records())
        if (span.Contains(DayOf(r)))
            cut.AppendRecord(r);
    cut.m_unit = doc.m_unit;
    cut.m_digits = doc.m_digits;
    return cut;
}

} // namespace

TEST(GraphZoom, DrawsExactlyWhatTheDiaryCutToItsDaysDraws)
{
    std::vector<Day> shuffledDays = Daily(150, 2019);
    for (std::size_t i = 0; i < shuffledDays.size(); ++i)
        std::swap(shuffledDays[i], shuffledDays[(i * 53) % shuffledDays.size()]);
    const CTarelogDoc diaries[] = {WithGap(), Sparse(), MakeDoc(shuffledDays)};
    std::vector<GraphViewState> states(3, DistinctColors());
    states[1].m_avgNarrow = states[1].m_avgWide = true;
    states[1].m_fill = true;
    states[2].m_goal = 66.0;
    states[2].m_rangeDays = 28; // a zoom is shown instead of the range
    const Rect sizes[] = {{0, 0, 240, 268}, {0, 0, 1280, 600}};
    int spansTried = 0;
    for (const CTarelogDoc& doc : diaries) {
        const DaySpan diary = *DiaryDays(doc);
        for (const double from : {0.0, 0.1, 0.45, 0.8}) {
            for (const std::int64_t length : {7, 40, 200}) {
                const std::int64_t first = diary.first + static_cast<std::int64_t>(from * diary.Days());
                const DaySpan span{first, first + length - 1};
                const CTarelogDoc cut = CutToDays(doc, span);
                if (cut.GetRecordCount() == 0)
                    continue;
                ++spansTried;
                for (GraphViewState state : states) {
                    for (const Rect& client : sizes) {
                        state.m_zoom = span;
                        GraphRun zoomed;
                        const std::vector<std::string> drawn = zoomed.Draw(doc, state, client);
                        state.m_zoom.reset();
                        state.m_rangeDays = 0;
                        GraphRun plain;
                        EXPECT_EQ(drawn, plain.Draw(cut, state, client)) << spansTried << ": " << client.right;
                    }
                }
            }
        }
    }
    EXPECT_GE(spansTried, 25);
}

TEST(GraphZoom, TheTrendOfAMiddleSpanIsTheWholeDiarys)
{
    const CTarelogDoc doc = WithGap();
    const std::vector<double> whole = ShownTrend(doc, ShownRecords(doc, 0));
    const ShownRecords middle(doc, DaySpan{DayOf(2020, 3, 1), DayOf(2020, 5, 31)});
    ASSERT_EQ(middle.Records().size(), 92u);
    const std::vector<double> trend = ShownTrend(doc, middle);
    ASSERT_EQ(trend.size(), 92u);
    for (std::size_t i = 0; i < trend.size(); ++i)
        EXPECT_EQ(trend[i], whole[middle.DiaryIndex(i)]) << i;
}

TEST(GraphZoom, WheelAndDragStayWithinTheDiary)
{
    const DaySpan diary{1000, 1999};
    // Zooming in around a day keeps it as far into the span as it was.
    const std::optional<DaySpan> in = ZoomedSpan(diary, diary, 1250.0, 0.5);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->Days(), 500);
    EXPECT_NEAR(static_cast<double>(1250 - in->first) / in->Days(), 0.25, 0.01);
    // Near an end the span is moved back inside.
    const std::optional<DaySpan> edge = ZoomedSpan({1000, 1099}, diary, 1000.0, 3.0);
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->first, 1000);
    EXPECT_EQ(edge->Days(), 300);
    const std::optional<DaySpan> late = ZoomedSpan({1900, 1999}, diary, 1999.0, 2.0);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->last, 1999);
    // Never below a week; out to the whole diary is the whole view.
    EXPECT_EQ(ZoomedSpan({1500, 1509}, diary, 1505.0, 0.1)->Days(), kFewestZoomedDays);
    EXPECT_FALSE(ZoomedSpan({1200, 1799}, diary, 1500.0, 1.8));
    EXPECT_FALSE(ZoomedSpan({1000, 1004}, {1000, 1004}, 1002.0, 0.5)) << "a diary of fewer days than a zoom";
    // Dragging stops at the ends and keeps the length.
    EXPECT_EQ(PannedSpan({1100, 1199}, diary, -500), (DaySpan{1000, 1099}));
    EXPECT_EQ(PannedSpan({1100, 1199}, diary, 50), (DaySpan{1150, 1249}));
    EXPECT_EQ(PannedSpan({1800, 1899}, diary, 500), (DaySpan{1900, 1999}));
}

TEST(GraphZoom, ShownDaysFollowTheRangeAndTheZoom)
{
    const CTarelogDoc doc = WithGap();
    GraphViewState state;
    const DaySpan diary{DayOf(2020, 1, 1), DayOf(2021, 12, 30)};
    EXPECT_EQ(ShownDays(doc, state), diary);
    state.m_rangeDays = 28;
    EXPECT_EQ(ShownDays(doc, state), (DaySpan{diary.last - 27, diary.last}));
    state.m_rangeDays = 100000;
    EXPECT_EQ(ShownDays(doc, state), diary) << "a range longer than the diary starts at its first day";
    state.m_zoom = DaySpan{diary.first + 10, diary.first + 20};
    EXPECT_EQ(ShownDays(doc, state), state.m_zoom);
    EXPECT_FALSE(ShownDays(CTarelogDoc(), GraphViewState{}));
}

TEST(WindowGraph, AddsOnlyTheHintOrTheRing)
{
    const Rect client{0, 0, 480, 520};
    GraphViewState state = DistinctColors();
    // An empty diary: one line in the middle, and the graph still draws nothing.
    GraphRun empty;
    const GraphLayout none = DrawWindowGraph(empty.surface, client, CTarelogDoc(), state, empty.profile, nullptr, 0);
    EXPECT_FALSE(none.drawn);
    const std::vector<std::string> texts = OfKind(empty.surface.Ops(), SurfaceOp::Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(kFirstWeightHint), std::string::npos);
    const auto text = std::find_if(empty.surface.Ops().begin(), empty.surface.Ops().end(),
        [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Text; });
    const TextSize size = empty.measurer.Measure(kFirstWeightHint);
    EXPECT_LE(std::abs(text->a + size.width / 2 - 240), 1);
    EXPECT_LE(std::abs(text->b + size.height / 2 - 260), 1);

    // With records and nothing marked: exactly the graph.
    const CTarelogDoc doc = Sparse();
    GraphRun window, graph;
    DrawWindowGraph(window.surface, client, doc, state, window.profile, nullptr, std::nullopt);
    graph.Draw(doc, state, client);
    EXPECT_EQ(window.surface.Ops(), graph.surface.Ops());

    // Marked: the graph, then a ring around that record's point.
    GraphRun marked;
    const GraphLayout layout = DrawWindowGraph(marked.surface, client, doc, state, marked.profile, nullptr, 7);
    const std::vector<SurfaceOp>& ops = marked.surface.Ops();
    ASSERT_GT(ops.size(), graph.surface.Ops().size());
    EXPECT_TRUE(std::equal(graph.surface.Ops().begin(), graph.surface.Ops().end(), ops.begin()));
    const Point centre = ShownRecordPoint(doc.Records(), layout, 7);
    int ringPoints = 0;
    ASSERT_EQ(ops[graph.surface.Ops().size()].kind, SurfaceOp::Kind::Pen);
    EXPECT_EQ(ops[graph.surface.Ops().size()].color, state.m_colorSlots[kSlotLine]);
    for (std::size_t i = graph.surface.Ops().size(); i < ops.size(); ++i) {
        if (ops[i].kind != SurfaceOp::Kind::MoveTo && ops[i].kind != SurfaceOp::Kind::LineTo)
            continue;
        const double r = std::hypot(ops[i].a - centre.x, ops[i].b - centre.y);
        EXPECT_GE(r, 4.4);
        EXPECT_LE(r, 6.5);
        ++ringPoints;
    }
    EXPECT_GE(ringPoints, 40);
    // A marked record outside the zoom is not drawn at all.
    state.m_zoom = DaySpan{DayOf(doc.Records()[20]), DayOf(doc.Records()[30])};
    GraphRun outside, zoomed;
    DrawWindowGraph(outside.surface, client, doc, state, outside.profile, nullptr, 7);
    zoomed.Draw(doc, state, client);
    EXPECT_EQ(outside.surface.Ops(), zoomed.surface.Ops());
}

TEST(PointingText, NamesTheDayTheSpanAndTheGraph)
{
    const WeightRecord record{65.25, 2024, 3, 5, {0, 0}};
    EXPECT_EQ(MarkedDayText(record, 65.14, 2, "kg"), "2024/03/05\u300065.25kg\u3000傾向 65.1kg");
    EXPECT_EQ(MarkedDayText(record, 65.14, 0, "kg"), "2024/03/05\u300065.2kg\u3000傾向 65.1kg")
        << "a diary without decimals still reads a tenth";
    EXPECT_EQ(ShownSpanText({DayOf(2024, 2, 28), DayOf(2024, 3, 2)}), "表示 2024/02/28〜2024/03/02");

    const CTarelogDoc doc = MakeDoc({{70.0, 2024, 1, 1}, {69.0, 2024, 1, 9}, {68.5, 2024, 2, 1}});
    const DiaryStats stats = ComputeDiaryStats(doc.Records());
    const std::string described = GraphDescription(doc.Records(), stats, 1, "kg", "");
    EXPECT_NE(described.find("2024/01/01から2024/02/01まで"), std::string::npos) << described;
    EXPECT_NE(described.find("記録 3 件"), std::string::npos) << described;
    EXPECT_NE(described.find("最新 68.5kg"), std::string::npos) << described;
    EXPECT_EQ(described.find("選択"), std::string::npos);
    EXPECT_NE(GraphDescription(doc.Records(), stats, 1, "kg", "2024/01/09").find("選択 2024/01/09"), std::string::npos);
    EXPECT_EQ(GraphDescription({}, ComputeDiaryStats({}), 1, "kg", ""), kFirstWeightHint);
}

TEST(GraphPointing, HostileDiariesZoomedAndMarkedStayInside)
{
    HostileDiaries diaries(20261210);
    for (int trial = 0; trial < 800; ++trial) {
        const CTarelogDoc doc = diaries.Next();
        const Rect client = diaries.NextClient();
        SCOPED_TRACE(testing::Message() << "trial " << trial << ", " << doc.GetRecordCount() << " records");
        GraphViewState state = DistinctColors();
        state.m_trend = diaries.Pick(2);
        state.m_fill = diaries.Pick(2);
        const std::optional<DaySpan> diary = DiaryDays(doc);
        if (diary) {
            const double around = static_cast<double>(diary->first) + diaries.Uniform(0, 1000) / 1000.0 * diary->Days();
            const double factor = diaries.Uniform(1, 3000) / 1000.0;
            if (const std::optional<DaySpan> zoom = ZoomedSpan(*diary, *diary, around, factor)) {
                ASSERT_GE(zoom->first, diary->first);
                ASSERT_LE(zoom->last, diary->last);
                const DaySpan panned = PannedSpan(*zoom, *diary, diaries.Uniform(-100000, 100000));
                ASSERT_GE(panned.first, diary->first);
                ASSERT_LE(panned.last, diary->last);
                ASSERT_EQ(panned.Days(), zoom->Days());
                state.m_zoom = panned;
            }
        }
        const std::optional<std::size_t> marked = doc.GetRecordCount() > 0
            ? std::optional<std::size_t>(diaries.Uniform(0, doc.GetRecordCount() - 1))
            : std::nullopt;
        GraphRun run;
        const GraphLayout layout = DrawWindowGraph(run.surface, client, doc, state, run.profile, nullptr, marked);
        const ShownRecords shown = ShownRecordsOf(doc, state);
        ASSERT_EQ(layout.drawn, !shown.Records().empty());
        for (const int x : {-5, 0, client.right / 2, client.right + 5}) {
            const std::optional<std::size_t> found = NearestShownRecord(shown.Records(), layout, x);
            ASSERT_EQ(found.has_value(), layout.drawn);
            if (found) {
                ASSERT_LT(*found, shown.Records().size());
            }
        }
    }
}
