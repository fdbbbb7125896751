#include "diary/import/day_weight_merge.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

WeightRecord Record(double weight, int y, int m, int d, std::uint8_t reserved = 0)
{
    return WeightRecord{weight, static_cast<std::int16_t>(y), static_cast<std::int16_t>(m),
        static_cast<std::int16_t>(d), {reserved, reserved}};
}

class CountingView : public CDocumentView {
public:
    void OnUpdate(CDocument*, long) override { ++updates; }
    int updates = 0;
};

void Fill(CTarelogDoc& doc, const std::vector<WeightRecord>& records)
{
    for (const WeightRecord& record : records)
        doc.AppendRecord(record);
}

// Byte for byte, reserved bytes and the sign of zero included.
void ExpectSameRecords(const CTarelogDoc& actual, const CTarelogDoc& expected)
{
    ASSERT_EQ(actual.GetRecordCount(), expected.GetRecordCount());
    for (int i = 0; i < actual.GetRecordCount(); ++i)
        ASSERT_EQ(std::memcmp(&actual.GetRecord(i), &expected.GetRecord(i), sizeof(WeightRecord)), 0) << "index " << i;
}

// What the merge must equal: one SetDayWeight per row, in order.
void ApplyOneByOne(CTarelogDoc& doc, const std::vector<DayWeight>& rows)
{
    for (const DayWeight& row : rows)
        doc.SetDayWeight(row.weight, row.year, row.month, row.day);
}

TEST(DayWeightMerge, SortedDiaryGetsNewDaysInPlaceAndReplacements)
{
    CTarelogDoc doc;
    Fill(doc, {Record(80, 2024, 1, 2, 7), Record(81, 2024, 1, 4, 9), Record(82, 2024, 1, 6)});
    const MergeCounts counts = MergeDayWeights(doc,
        {{70, 2024, 1, 7}, {71, 2024, 1, 1}, {72, 2024, 1, 4}, {73, 2024, 1, 3}, {74, 2024, 1, 4}});
    EXPECT_EQ(counts.added, 3u);
    EXPECT_EQ(counts.replaced, 1u);
    EXPECT_EQ(counts.superseded, 1u);
    EXPECT_TRUE(counts.diaryInDateOrder);
    CTarelogDoc expected;
    Fill(expected,
        {Record(71, 2024, 1, 1), Record(80, 2024, 1, 2, 7), Record(73, 2024, 1, 3), Record(74, 2024, 1, 4, 9),
            Record(82, 2024, 1, 6), Record(70, 2024, 1, 7)});
    ExpectSameRecords(doc, expected);
}

TEST(DayWeightMerge, LastRowOfADayWinsEvenWhenRowsAreUnsorted)
{
    CTarelogDoc doc;
    MergeDayWeights(doc, {{1, 2024, 5, 2}, {2, 2024, 5, 1}, {3, 2024, 5, 2}, {4, 2024, 5, 1}, {5, 2024, 5, 2}});
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_EQ(doc.GetRecord(0).weight, 4);
    EXPECT_EQ(doc.GetRecord(1).weight, 5);
}

TEST(DayWeightMerge, UnorderedDiaryIsLeftAsTheEntryDialogWouldLeaveIt)
{
    // 05 is later than everything before it, so a row for 01 lands before it
    // and the stray 01 record behind it keeps its weight, as SetDayWeight does.
    const std::vector<WeightRecord> diary{Record(5, 2024, 3, 5), Record(1, 2024, 3, 1), Record(9, 2024, 3, 9),
        Record(7, 2024, 3, 7), Record(9.5, 2024, 3, 9)};
    const std::vector<DayWeight> rows{{10, 2024, 3, 1}, {20, 2024, 3, 9}, {30, 2024, 3, 8}, {40, 2024, 3, 7},
        {50, 2024, 3, 12}};
    CTarelogDoc merged, expected;
    Fill(merged, diary);
    Fill(expected, diary);
    const MergeCounts counts = MergeDayWeights(merged, rows);
    ApplyOneByOne(expected, rows);
    ExpectSameRecords(merged, expected);
    EXPECT_FALSE(counts.diaryInDateOrder);
    EXPECT_EQ(counts.replaced, 1u); // only the 9th, which heads its run
    EXPECT_EQ(counts.added, 4u);
}

TEST(DayWeightMerge, RandomDiariesMatchRepeatedSetDayWeight)
{
    std::mt19937 random(20240601);
    for (int round = 0; round < 400; ++round) {
        const bool sorted = round % 2 == 0;
        std::uniform_int_distribution<int> dayOf(1, 28), countOf(0, 25), monthOf(1, 3);
        std::vector<WeightRecord> diary;
        const int records = countOf(random);
        for (int i = 0; i < records; ++i)
            diary.push_back(Record(i + 0.25, 2024, monthOf(random), dayOf(random), static_cast<std::uint8_t>(i)));
        if (sorted) {
            std::sort(diary.begin(), diary.end(), [](auto& a, auto& b) { return a.DateKey() < b.DateKey(); });
            // Sorted diaries from files may still hold a day twice.
        }
        std::vector<DayWeight> rows;
        const int rowCount = countOf(random);
        for (int i = 0; i < rowCount; ++i)
            rows.push_back({100.0 + i, 2024, monthOf(random), dayOf(random)});

        CTarelogDoc merged, expected;
        Fill(merged, diary);
        Fill(expected, diary);
        const MergeCounts counts = MergeDayWeights(merged, rows);
        ApplyOneByOne(expected, rows);
        ExpectSameRecords(merged, expected);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
        EXPECT_EQ(merged.GetRecordCount(), records + static_cast<int>(counts.added));
        EXPECT_EQ(counts.added + counts.replaced + counts.superseded, rows.size());
    }
}

TEST(DayWeightMerge, NoRowsChangesNothingAndTellsNoView)
{
    CTarelogDoc doc;
    CountingView view;
    doc.AddView(&view);
    Fill(doc, {Record(80, 2024, 1, 2)});
    const MergeCounts counts = MergeDayWeights(doc, {});
    EXPECT_EQ(counts.added + counts.replaced, 0u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.updates, 0);
    EXPECT_EQ(doc.GetRecordCount(), 1);
    doc.RemoveView(&view);
}

TEST(DayWeightMerge, RowsUpdateViewsOnceAndMarkModified)
{
    CTarelogDoc doc;
    CountingView view;
    doc.AddView(&view);
    MergeDayWeights(doc, {{80, 2024, 1, 2}, {81, 2024, 1, 3}, {82, 2024, 1, 4}});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    doc.RemoveView(&view);
}

} // namespace
