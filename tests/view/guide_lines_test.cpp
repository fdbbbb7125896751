// The trend and goal lines of the view menu.
#include "graph_test_support.h"

#include "diary/diary_stats.h"
#include "platform/calendar_date.h"
#include "platform/line_raster.h"
#include "view/guide_lines.h"
#include "view/shown_records.h"

#include <random>
#include <set>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The calls from the selection of `slot`'s pen up to the next pen change.
std::vector<std::string> LineOfSlot(const std::vector<std::string>& lines, int slot)
{
    const auto start = std::find(lines.begin(), lines.end(), "pen " + SlotColor(slot));
    std::vector<std::string> out;
    if (start == lines.end())
        return out;
    for (auto it = start + 1; it != lines.end() && it->rfind("pen ", 0) != 0; ++it)
        out.push_back(*it);
    return out;
}

TEST(TrendLine, RunsThroughEachRecordAtItsTrendValue)
{
    // 240 x 268: P = 200; weights 60 to 70, so ky = 20 and y = 230 - trunc((v - 60) * 20).
    const CTarelogDoc doc = MakeDoc(
        {{60.0, 2001, 1, 1}, {70.0, 2001, 1, 5}, {65.0, 2001, 1, 9}, {66.0, 2001, 1, 12}, {62.0, 2001, 1, 20}});
    GraphViewState state = DistinctColors();
    state.m_trend = true;
    GraphRun run;
    const auto lines = run.Draw(doc, state);

    std::vector<double> trend = {60.0};
    for (std::size_t i = 1; i < doc.Records().size(); ++i)
        trend.push_back(trend.back() + 0.1 * (doc.Records()[i].weight - trend.back()));
    const std::vector<std::string> weightLine = LineOfSlot(lines, 0);
    ASSERT_GE(weightLine.size(), 5u);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < trend.size(); ++i) {
        // The trend shares the weight line's columns.
        const std::string& point = weightLine[i];
        const std::string x = point.substr(point.find(' ') + 1, point.rfind(' ') - point.find(' ') - 1);
        expected.push_back(FormatString("%s %s %d", i == 0 ? "moveto" : "lineto", x.c_str(),
            230 - static_cast<int>((trend[i] - 60.0) * 20.0)));
    }
    EXPECT_EQ(LineOfSlot(lines, 7), expected);
    EXPECT_EQ(lines.back(), "pen 0x00000000") << "drawn after the weight line, and its pen given back";
    EXPECT_EQ(run.surface.PensCreated(), run.surface.PensDeleted());
    EXPECT_EQ(run.surface.DeletedWhileSelected(), 0);
}

TEST(TrendLine, IsTheWholeDiarysTrendInARange)
{
    std::vector<Day> days;
    for (int i = 0; i < 100; ++i)
        days.push_back({70.0 + (i * 7 % 5), 2001, 1, 1 + i});
    const CTarelogDoc doc = MakeDoc(days);
    const std::vector<double> all = ShownTrend(doc, ShownRecords(doc, 0));
    ASSERT_EQ(all.size(), 100u);
    EXPECT_EQ(all.back(), ComputeDiaryStats(doc.Records()).trend) << "the figure stats prints";
    const std::vector<double> recent = ShownTrend(doc, ShownRecords(doc, 28));
    EXPECT_EQ(recent, std::vector<double>(all.end() - 28, all.end()));

    // Out of date order, the trend still walks the dates.
    CTarelogDoc shuffled = MakeDoc({});
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < 100; ++i)
        order.push_back(i * 37 % 100);
    for (const std::size_t i : order)
        shuffled.AppendRecord(doc.Records()[i]);
    const std::vector<double> walked = ShownTrend(shuffled, ShownRecords(shuffled, 0));
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(walked[k], all[order[k]]) << k;
}

TEST(TrendLine, StretchesTheScaleOfARangeToTakeItIn)
{
    // A long fall, then a fortnight flat at 70: the trend of the last days
    // still lies above 70, outside the range's own weights.
    std::vector<Day> days;
    for (int i = 0; i < 60; ++i)
        days.push_back({i < 46 ? 90.0 - i * 0.4 : 70.0, 2001, 1, 1 + i});
    GraphViewState state = DistinctColors();
    state.m_rangeDays = 14;
    state.m_trend = true;
    GraphRun run;
    run.Draw(MakeDoc(days), state);
    for (const std::string& point : LineOfSlot(Lines(OpsText({0, 0, 240, 268}, run.surface.Ops())), 7)) {
        const int y = std::stoi(point.substr(point.rfind(' ') + 1));
        EXPECT_GE(y, 30) << point;
        EXPECT_LE(y, 230) << point;
    }
}

std::set<std::pair<int, int>> PixelsOf(const std::vector<Point>& points)
{
    std::set<std::pair<int, int>> pixels;
    const Rect bounds{-100, -100, 2000, 2000};
    for (std::size_t i = 1; i < points.size(); ++i)
        RasterizeLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, bounds, [&pixels](const Rect& run) {
            for (int x = run.left; x < run.right; ++x)
                for (int y = run.top; y < run.bottom; ++y)
                    pixels.insert({x, y});
        });
    return pixels;
}

TEST(TrendLine, LeavesOutOnlyPointsThatAddNoPixel)
{
    // Thousands of records in a few columns, their heights wandering up and
    // down inside each column: the reduced line ends where the full one
    // ends and covers exactly its pixels.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> step(-3, 3), stay(0, 40);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<Point> all;
        int x = 10, y = 100;
        for (int i = 0; i < 300; ++i) {
            if (stay(random) == 0)
                x += 1 + stay(random) % 3;
            y += step(random);
            all.push_back({x, y});
        }
        LinePoints line;
        for (const Point& p : all)
            line.Add(p);
        const std::vector<Point> kept = line.Take();
        ASSERT_LT(kept.size(), all.size());
        EXPECT_EQ(kept.front().x, all.front().x);
        EXPECT_EQ(kept.front().y, all.front().y);
        EXPECT_EQ(kept.back().x, all.back().x);
        EXPECT_EQ(kept.back().y, all.back().y);
        ASSERT_EQ(PixelsOf(kept), PixelsOf(all)) << "trial " << trial;
    }
}

TEST(TrendLine, ManyDaysAColumnReachTheSurfaceAsAFewPoints)
{
    std::vector<Day> days;
    for (int i = 0; i < 20000; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1900, 1, 1 + i);
        days.push_back({70.0 + (i % 7) * 0.3 + (i / 500) % 3, date.Year(), date.Month(), date.Day()});
    }
    GraphViewState state = DistinctColors();
    state.m_trend = true;
    GraphRun run;
    const auto trendLine = LineOfSlot(run.Draw(MakeDoc(days), state), 7);
    EXPECT_LT(trendLine.size(), 200u * 5) << "at most five points in each of the 200 columns";
    EXPECT_GT(trendLine.size(), 100u);
}

TEST(GoalLine, LiesAtTheGoalAndStretchesTheScale)
{
    const CTarelogDoc doc = MakeDoc({{60.0, 2001, 1, 1}, {65.0, 2001, 1, 31}});
    GraphViewState state = DistinctColors();
    GraphRun plain;
    const auto without = plain.Draw(doc, state);

    // Inside the weights the scale stays as it is; the line crosses the plot
    // from the left margin (39) to where the grid ends, under the weight line.
    state.m_goal = 62.5;
    GraphRun inside;
    const auto with = inside.Draw(doc, state);
    EXPECT_EQ(OfKind(inside.surface.Ops(), SurfaceOp::Kind::Text), OfKind(plain.surface.Ops(), SurfaceOp::Kind::Text));
    EXPECT_EQ(LineOfSlot(with, 8), (std::vector<std::string>{"moveto 39 130", "lineto 235 130"}));
    EXPECT_LT(std::find(with.begin(), with.end(), "pen " + SlotColor(8)),
        std::find(with.begin(), with.end(), "pen " + SlotColor(0)));

    // Below them, the scale starts at the goal: 55 to 65 in steps of 1.
    state.m_goal = 55.0;
    GraphRun below;
    const auto stretched = below.Draw(doc, state);
    const auto texts = OfKind(below.surface.Ops(), SurfaceOp::Kind::Text);
    EXPECT_EQ(texts.front(), "text 3 224 \"55.0kg\"");
    EXPECT_EQ(LineOfSlot(stretched, 8), (std::vector<std::string>{"moveto 39 230", "lineto 235 230"}));
    // The first weight, 60, now lies half way up: y = 230 - 5 * 20.
    EXPECT_EQ(LineOfSlot(stretched, 0).front(), "moveto 39 130");

    // Above them, the top row is the goal's.
    state.m_goal = 70.0;
    GraphRun above;
    const auto high = above.Draw(doc, state);
    EXPECT_EQ(LineOfSlot(high, 8), (std::vector<std::string>{"moveto 39 30", "lineto 235 30"}));
}

TEST(GoalLine, GivesARangeToADiaryOfOneWeight)
{
    GraphViewState state = DistinctColors();
    state.m_goal = 60.0;
    GraphRun run;
    const auto lines = run.Draw(MakeDoc({{64.0, 2001, 3, 5}}), state);
    EXPECT_EQ(LineOfSlot(lines, 8).back(), "lineto 235 230");
    EXPECT_EQ(LineOfSlot(lines, 0).front().substr(0, 7), "moveto ");
    EXPECT_EQ(LineOfSlot(lines, 0).front().substr(LineOfSlot(lines, 0).front().rfind(' ')), " 30");
}

} // namespace
