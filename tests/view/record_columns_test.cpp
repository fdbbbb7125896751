#include "hostile_diaries.h"
#include "view/record_columns.h"
#include "view/saturating_math.h"

#include <gtest/gtest.h>

#include <random>
#include <span>

namespace {

// What every column must be: the formula on GetDayOffset, record by record.
void ExpectFormulaColumns(const CTarelogDoc& doc, double kx, double leftMargin)
{
    RecordColumns columns(doc, kx, leftMargin);
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        const int expected = TruncToInt(static_cast<double>(doc.GetDayOffset(i)) * kx + leftMargin);
        ASSERT_EQ(columns.Of(doc.GetRecord(i)), expected) << "record " << i << " kx " << kx << " L " << leftMargin;
    }
}

CTarelogDoc ConsecutiveDays(int count, int step)
{
    std::vector<Day> days;
    for (int i = 0; i < count; ++i)
        days.push_back({70.0, 1990, 1, 1 + i * step}); // the calendar rolls the day field over
    return MakeDoc(days);
}

// Slopes of every kind of window: a million days in 1000 columns, a few
// days in many, one day a column exactly, and the degenerate ones.
const double kSlopes[] = {0.00088, 1000.0 / 11000.0, 0.5, 1.0, 7.3, 96.0, 1e-9, 1e9, 0.0, -0.5};
const double kMargins[] = {3.0, 39.0, 2147483000.0, -5.0};

TEST(RecordColumns, OrderedDiariesGiveTheFormulaForEverySlope)
{
    for (const int step : {1, 3, 40})
        for (const double kx : kSlopes)
            for (const double margin : kMargins)
                ExpectFormulaColumns(ConsecutiveDays(4000, step), kx, margin);
}

TEST(RecordColumns, DisorderedAndDamagedDiariesGiveTheFormula)
{
    // Records out of order, before the first, and fields the calendar must
    // roll over or whose offsets saturate at the int range.
    HostileDiaries diaries(2024);
    for (int trial = 0; trial < 300; ++trial) {
        const CTarelogDoc doc = diaries.Next();
        for (const double kx : kSlopes)
            ExpectFormulaColumns(doc, kx, kMargins[trial % 4]);
    }
}

TEST(RecordColumns, RandomSlopesOverGappyDiaries)
{
    // Columns whose ends fall on awkward offsets, so the guess at the end of
    // a column is sometimes wrong and the search has to correct it.
    std::mt19937 random(99);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<Day> days;
        int day = 1;
        for (int i = 0; i < 500; ++i) {
            day += std::uniform_int_distribution<int>(0, 9)(random);
            days.push_back({70.0, 2000, 1, day});
        }
        const double kx = std::exp(std::uniform_real_distribution<double>(-12.0, 5.0)(random));
        const double margin = std::uniform_real_distribution<double>(-100.0, 100.0)(random);
        ExpectFormulaColumns(MakeDoc(days), kx, margin);
    }
}

TEST(RecordColumns, FirstColumnBeyondFindsWhatAVisitToEachRecordFinds)
{
    // Gappy ordered diaries (a day may repeat), limits on and between
    // columns, and guesses right, short, long and past the end.
    std::mt19937 random(5);
    const auto any = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Day> days;
        int day = 1;
        for (int i = 0, n = any(1, 400); i < n; ++i) {
            day += any(0, 4);
            days.push_back({70.0, 2000, 1, day});
        }
        const CTarelogDoc doc = MakeDoc(days);
        const std::span<const WeightRecord> records(doc.Records());
        const double kx = std::exp(std::uniform_real_distribution<double>(-4.0, 2.0)(random));
        const RecordColumns columns(records, kx, 30.0);
        for (int probe = 0; probe < 20; ++probe) {
            const std::size_t from = static_cast<std::size_t>(any(0, static_cast<int>(records.size())));
            RecordColumns visit = columns;
            const std::int64_t limit = from < records.size() ? visit.Of(records[from]) + any(-1, 3) : 0;
            std::size_t expected = from;
            while (expected < records.size() && visit.Of(records[expected]) <= limit)
                ++expected;
            const std::size_t guess = static_cast<std::size_t>(any(0, 60));
            ASSERT_EQ(FirstColumnBeyond(records, from, limit, columns, guess), expected)
                << "trial " << trial << " from " << from << " limit " << limit << " guess " << guess;
        }
    }
}

} // namespace
