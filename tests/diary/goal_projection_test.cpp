// When the trend reaches a goal weight: the recent slope of the trend and
// the projected day.
#include "diary/diary_stats.h"
#include "diary/goal_projection.h"
#include "platform/calendar_date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace {

WeightRecord RecordOn(CalendarDate date, double weight)
{
    return {weight, static_cast<std::int16_t>(date.Year()), static_cast<std::int16_t>(date.Month()),
        static_cast<std::int16_t>(date.Day()), {0, 0}};
}

// A diary that changes by `perDay` every day from `start`.
std::vector<WeightRecord> StraightLine(int days, double start, double perDay)
{
    std::vector<WeightRecord> records;
    for (int i = 0; i < days; ++i)
        records.push_back(RecordOn(CalendarDate::FromYmd(2026, 1, 1 + i), start + perDay * i));
    return records;
}

// The day the trend really reaches the goal if the diary goes on as it
// went: the diary continued day by day, the trend worked out as stats does.
std::optional<CalendarDate> ReachedByContinuing(std::vector<WeightRecord> records, double perDay, double goal)
{
    const double start = records.front().weight;
    const bool falling = goal < ComputeDiaryStats(records).trend;
    for (int i = static_cast<int>(records.size()); i < 5000; ++i) {
        records.push_back(RecordOn(CalendarDate::FromYmd(2026, 1, 1 + i), start + perDay * i));
        const double trend = ComputeDiaryStats(records).trend;
        if (falling ? trend <= goal : trend >= goal)
            return CalendarDate::FromYmd(2026, 1, 1 + i);
    }
    return std::nullopt;
}

TEST(GoalProjection, StraightLinesReachTheirGoalOnTheDayTheTrendDoes)
{
    struct Case {
        double start, perDay, goal;
    };
    const Case cases[] = {{90.0, -0.1, 70.0}, {60.0, 0.05, 66.0}, {80.0, -0.02, 77.0}, {150.0, 0.5, 200.0}};
    for (const Case& c : cases) {
        const std::vector<WeightRecord> records = StraightLine(90, c.start, c.perDay);
        const DiaryStats stats = ComputeDiaryStats(records);
        ASSERT_TRUE(stats.trendSlope);
        EXPECT_NEAR(*stats.trendSlope, c.perDay, std::abs(c.perDay) * 0.01) << "the trend runs parallel to the line";
        const GoalProjection projection = ProjectGoal(stats, c.goal);
        EXPECT_DOUBLE_EQ(projection.remaining, std::abs(c.goal - stats.trend));
        const std::optional<CalendarDate> reached = ReachedByContinuing(records, c.perDay, c.goal);
        ASSERT_TRUE(reached);
        ASSERT_TRUE(projection.date) << c.start << " toward " << c.goal;
        EXPECT_LE(std::llabs(projection.date->DayNumber() - reached->DayNumber()), 2)
            << c.start << " toward " << c.goal;
    }
}

TEST(GoalProjection, NoDateWhenMovingAwayOrTooSlowlyOrAlreadyThere)
{
    const DiaryStats falling = ComputeDiaryStats(StraightLine(60, 80.0, -0.1));
    const GoalProjection away = ProjectGoal(falling, 85.0);
    EXPECT_FALSE(away.date);
    EXPECT_DOUBLE_EQ(away.remaining, 85.0 - falling.trend);
    EXPECT_FALSE(ProjectGoal(falling, falling.trend).date) << "the trend is at the goal";

    // 0.004 a day is 0.028 a week, below what means anything; 0.008 is above.
    EXPECT_FALSE(ProjectGoal(ComputeDiaryStats(StraightLine(60, 70.0, -0.004)), 69.0).date);
    EXPECT_TRUE(ProjectGoal(ComputeDiaryStats(StraightLine(60, 70.0, -0.008)), 69.0).date);
    // Ten years and more ahead is no projection either.
    EXPECT_FALSE(ProjectGoal(ComputeDiaryStats(StraightLine(60, 70.0, -0.01)), 20.0).date);
}

TEST(GoalProjection, TheSlopeNeedsTwoDaysOfTheLastFourteen)
{
    std::vector<WeightRecord> records = {RecordOn(CalendarDate::FromYmd(2026, 1, 1), 80.0)};
    EXPECT_FALSE(ComputeDiaryStats(records).trendSlope);
    records.push_back(RecordOn(CalendarDate::FromYmd(2026, 1, 15), 79.0));
    EXPECT_FALSE(ComputeDiaryStats(records).trendSlope) << "14 days back is outside";
    records.insert(records.begin() + 1, RecordOn(CalendarDate::FromYmd(2026, 1, 2), 79.5));
    records.push_back(RecordOn(CalendarDate::FromYmd(2026, 1, 16), 78.0));
    const DiaryStats stats = ComputeDiaryStats(records);
    ASSERT_TRUE(stats.trendSlope);
    // Two days, one apart: the slope is their trends' difference.
    const double t1 = 80.0 + 0.1 * (79.5 - 80.0);
    const double t2 = t1 + 0.1 * (79.0 - t1);
    const double t3 = t2 + 0.1 * (78.0 - t2);
    EXPECT_NEAR(*stats.trendSlope, t3 - t2, 1e-12);
}

TEST(GoalProjection, OrderDoesNotChangeTheSlope)
{
    std::vector<WeightRecord> records = StraightLine(40, 75.0, -0.07);
    const DiaryStats sorted = ComputeDiaryStats(records);
    std::swap(records[3], records[30]);
    std::swap(records[0], records[39]);
    const DiaryStats shuffled = ComputeDiaryStats(records);
    ASSERT_TRUE(sorted.trendSlope && shuffled.trendSlope);
    EXPECT_EQ(*sorted.trendSlope, *shuffled.trendSlope);
    EXPECT_EQ(sorted.trend, shuffled.trend);
}

} // namespace
