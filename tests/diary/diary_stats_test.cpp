#include "diary/diary_stats.h"

#include <gtest/gtest.h>

namespace {

WeightRecord Record(double weight, int y, int m, int d)
{
    return WeightRecord{weight, static_cast<std::int16_t>(y), static_cast<std::int16_t>(m),
        static_cast<std::int16_t>(d), {0, 0}};
}

bool SameDay(const WeightRecord& a, const WeightRecord& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

TEST(DiaryStats, EmptyDiaryHasOnlyACount)
{
    const DiaryStats stats = ComputeDiaryStats({});
    EXPECT_EQ(stats.entries, 0u);
    EXPECT_FALSE(stats.change7);
    EXPECT_FALSE(stats.change30);
    EXPECT_FALSE(stats.trendPerWeek);
}

TEST(DiaryStats, OneEntry)
{
    const DiaryStats stats = ComputeDiaryStats({Record(65.5, 2024, 1, 1)});
    EXPECT_EQ(stats.entries, 1u);
    EXPECT_EQ(stats.last.weight, 65.5);
    EXPECT_EQ(stats.lowest.weight, 65.5);
    EXPECT_EQ(stats.highest.weight, 65.5);
    EXPECT_EQ(stats.trend, 65.5);
    EXPECT_FALSE(stats.change7);
    EXPECT_FALSE(stats.trendPerWeek);
}

TEST(DiaryStats, ChangesReachBackToTheLatestEntryOnOrBeforeTheCutOff)
{
    // Last date 03-31: the 7-day cut-off is 03-24 (an entry on it), the
    // 30-day cut-off is 03-01 (none on it; 02-27 is the latest before).
    const DiaryStats stats = ComputeDiaryStats({Record(90, 2024, 2, 27), Record(88, 2024, 3, 2),
        Record(86, 2024, 3, 24), Record(85, 2024, 3, 25), Record(84, 2024, 3, 31)});
    ASSERT_TRUE(stats.change7);
    EXPECT_DOUBLE_EQ(*stats.change7, 84.0 - 86.0);
    ASSERT_TRUE(stats.change30);
    EXPECT_DOUBLE_EQ(*stats.change30, 84.0 - 90.0);
    EXPECT_TRUE(SameDay(stats.first, Record(0, 2024, 2, 27)));
    EXPECT_TRUE(SameDay(stats.last, Record(0, 2024, 3, 31)));
    EXPECT_TRUE(SameDay(stats.highest, Record(0, 2024, 2, 27)));
    EXPECT_TRUE(SameDay(stats.lowest, Record(0, 2024, 3, 31)));
}

TEST(DiaryStats, NoEntryOldEnoughMeansNoChange)
{
    const DiaryStats stats = ComputeDiaryStats({Record(80, 2024, 3, 25), Record(79, 2024, 3, 31)});
    EXPECT_FALSE(stats.change7); // 03-24 has nothing on or before it
    EXPECT_FALSE(stats.change30);
    EXPECT_FALSE(stats.trendPerWeek);
}

TEST(DiaryStats, TrendMovesTenPercentPerEntryAndItsWeeklyRate)
{
    // 100, then 90 on day 3 and 80 on day 10; the empty days don't move it.
    const DiaryStats stats = ComputeDiaryStats(
        {Record(100, 2024, 1, 1), Record(90, 2024, 1, 3), Record(80, 2024, 1, 10)});
    const double t1 = 100.0;
    const double t2 = t1 + 0.1 * (90 - t1);
    const double t3 = t2 + 0.1 * (80 - t2);
    EXPECT_DOUBLE_EQ(stats.trend, t3);
    // Reference: latest entry on or before 01-03 is 01-03 itself, 7 days earlier.
    ASSERT_TRUE(stats.trendPerWeek);
    EXPECT_DOUBLE_EQ(*stats.trendPerWeek, (t3 - t2) * 7.0 / 7.0);

    // Over a longer gap the rate is scaled to a week.
    const DiaryStats sparse = ComputeDiaryStats({Record(100, 2024, 1, 1), Record(86, 2024, 1, 15)});
    ASSERT_TRUE(sparse.trendPerWeek);
    EXPECT_DOUBLE_EQ(*sparse.trendPerWeek, (98.6 - 100.0) * 7.0 / 14.0);
}

TEST(DiaryStats, DocumentOrderDoesNotMatterButSameDayOrderDoes)
{
    const DiaryStats sorted = ComputeDiaryStats(
        {Record(70, 2024, 1, 1), Record(72, 2024, 1, 9), Record(71, 2024, 1, 20)});
    const DiaryStats shuffled = ComputeDiaryStats(
        {Record(71, 2024, 1, 20), Record(70, 2024, 1, 1), Record(72, 2024, 1, 9)});
    EXPECT_EQ(sorted.trend, shuffled.trend);
    EXPECT_EQ(sorted.last.weight, 71);
    EXPECT_EQ(shuffled.last.weight, 71);
    EXPECT_EQ(*sorted.change7, *shuffled.change7);
    EXPECT_TRUE(SameDay(shuffled.first, Record(0, 2024, 1, 1)));

    const DiaryStats twice = ComputeDiaryStats(
        {Record(70, 2024, 1, 1), Record(75, 2024, 1, 2), Record(74, 2024, 1, 2)});
    EXPECT_EQ(twice.last.weight, 74);
    EXPECT_EQ(twice.entries, 3u);
    // The second day moves the trend once, toward its last weight.
    EXPECT_DOUBLE_EQ(twice.trend, 70.0 + 0.1 * (74 - 70.0));
    EXPECT_EQ(twice.highest.weight, 75);

    const DiaryStats firstTwice = ComputeDiaryStats(
        {Record(70, 2024, 1, 1), Record(72, 2024, 1, 1), Record(82, 2024, 1, 2)});
    EXPECT_DOUBLE_EQ(firstTwice.trend, 72.0 + 0.1 * (82 - 72.0));
}

TEST(DiaryStats, LowestAndHighestTakeTheFirstOfTies)
{
    const DiaryStats stats = ComputeDiaryStats({Record(60, 2024, 1, 5), Record(60, 2024, 1, 1), Record(0, 2024, 1, 3),
        Record(0, 2024, 1, 4), Record(60, 2024, 1, 2)});
    EXPECT_TRUE(SameDay(stats.highest, Record(0, 2024, 1, 1)));
    EXPECT_TRUE(SameDay(stats.lowest, Record(0, 2024, 1, 3)));
    EXPECT_EQ(stats.lowest.weight, 0.0);
}

} // namespace
