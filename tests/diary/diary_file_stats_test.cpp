// Statistics gathered while streaming a diary, and sorted ones, against
// the whole-list computation over the loaded diary: the same figures to the
// bit, in date order and out of it.
#include "diary/diary_file.h"
#include "diary/diary_file_stats.h"
#include "diary/diary_stats_accumulator.h"

#include "random_diary.h"
#include "reference_diary_stats.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

std::string Bits(const WeightRecord& record)
{
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

std::string Bits(double value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string Bits(const std::optional<double>& value)
{
    return value ? Bits(*value) : "none";
}

// Bit for bit, so that NaN figures and negative zeros compare too.
void ExpectSameStats(const DiaryStats& actual, const DiaryStats& expected)
{
    EXPECT_EQ(actual.entries, expected.entries);
    if (expected.entries == 0)
        return;
    EXPECT_EQ(Bits(actual.first), Bits(expected.first));
    EXPECT_EQ(Bits(actual.last), Bits(expected.last));
    EXPECT_EQ(Bits(actual.lowest), Bits(expected.lowest));
    EXPECT_EQ(Bits(actual.highest), Bits(expected.highest));
    EXPECT_EQ(Bits(actual.change7), Bits(expected.change7));
    EXPECT_EQ(Bits(actual.change30), Bits(expected.change30));
    EXPECT_EQ(Bits(actual.trend), Bits(expected.trend));
    EXPECT_EQ(Bits(actual.trendPerWeek), Bits(expected.trendPerWeek));
}

void ExpectFileStatsMatchLoadedStats(const std::string& path)
{
    SCOPED_TRACE(path);
    CTarelogDoc doc;
    const DiaryFileError loaded = LoadDiaryFile(path, doc).error_or({});
    const auto computed = ComputeDiaryFileStats(path);
    const DiaryFileError streamed = computed.error_or({});
    EXPECT_EQ(streamed.kind, loaded.kind);
    EXPECT_EQ(streamed.Detail(), loaded.Detail());
    if (loaded)
        return;
    EXPECT_EQ(computed->unit, doc.m_unit);
    ExpectSameStats(computed->figures, ReferenceDiaryStats(doc.Records()));
}

TEST(DiaryStatsAccumulator, GivesTheReferenceFiguresForRecordsInDateOrder)
{
    RandomDiaries diaries(7);
    for (int round = 0; round < 400; ++round) {
        const CTarelogDoc doc = diaries.Make(static_cast<int>(diaries.Pick(120)), RandomDiaries::Order::ByDate);
        DiaryStatsAccumulator accumulator;
        for (const WeightRecord& record : doc.Records())
            ASSERT_TRUE(accumulator.Add(record)) << "round " << round;
        ExpectSameStats(accumulator.Result(), ReferenceDiaryStats(doc.Records()));
        if (testing::Test::HasFailure())
            FAIL() << "round " << round;
    }
}

TEST(DiaryStatsAccumulator, RefusesARecordDatedBeforeTheLastAndKeepsItsFigures)
{
    const WeightRecord march2{70.0, 2024, 3, 2, {0, 0}};
    const WeightRecord march1{60.0, 2024, 3, 1, {0, 0}};
    const WeightRecord february29{65.0, 2024, 2, 29, {0, 0}};
    DiaryStatsAccumulator accumulator;
    ASSERT_TRUE(accumulator.Add(march2));
    ASSERT_TRUE(accumulator.Add(march2)); // the same day again is in order
    EXPECT_FALSE(accumulator.Add(march1));
    // 2024-02-30 rolls over to March 1st: before March 2nd, so refused too.
    EXPECT_FALSE(accumulator.Add(WeightRecord{50.0, 2024, 2, 30, {0, 0}}));
    EXPECT_FALSE(accumulator.Add(february29));
    ExpectSameStats(accumulator.Result(), ReferenceDiaryStats({march2, march2}));
}

// The look-backs reach a day exactly 7 and 30 days before the last, across
// hundreds of days in between that the accumulator no longer holds.
TEST(DiaryStatsAccumulator, LooksBackAcrossALongDiary)
{
    std::vector<WeightRecord> records;
    for (int day = 1; day <= 400; ++day) {
        const CalendarDate date = CalendarDate::FromYmd(2020, 1, day);
        for (int twice = 0; twice < 1 + day % 2; ++twice)
            records.push_back(WeightRecord{80.0 - day * 0.01 + twice, static_cast<std::int16_t>(date.Year()),
                static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
    }
    DiaryStatsAccumulator accumulator;
    for (const WeightRecord& record : records)
        accumulator.Add(record);
    const DiaryStats stats = accumulator.Result();
    ExpectSameStats(stats, ReferenceDiaryStats(records));
    ASSERT_TRUE(stats.change30);
    EXPECT_NEAR(*stats.change30, -0.3, 1e-9);
}

TEST(DiaryStats, SortedFiguresMatchTheReferenceForRecordsInAnyOrder)
{
    RandomDiaries diaries(12);
    for (int round = 0; round < 400; ++round) {
        const CTarelogDoc doc = diaries.Make(static_cast<int>(diaries.Pick(120)), RandomDiaries::Order::Shuffled);
        ExpectSameStats(ComputeDiaryStats(doc.Records()), ReferenceDiaryStats(doc.Records()));
        if (testing::Test::HasFailure())
            FAIL() << "round " << round;
    }
}

TEST(DiaryFileStats, MatchTheLoadedDiaryForEveryCorpusFile)
{
    int files = 0;
    for (const char* folder : {"/bad", "/good"})
        for (const auto& entry : std::filesystem::directory_iterator(std::string(TARELOG_TEST_DATA) + folder))
            if (entry.path().extension() == ".tlg") {
                ExpectFileStatsMatchLoadedStats(entry.path().string());
                ++files;
            }
    EXPECT_GE(files, 60);
}

// Diaries in date order take the one-pass path, the others the sorted one;
// both must give ComputeDiaryStats' figures, chunk boundaries included.
TEST(DiaryFileStats, MatchTheLoadedDiaryForRandomDiariesInAndOutOfOrder)
{
    TempDir dir;
    const std::string path = dir.File("random.tlg");
    RandomDiaries diaries(16);
    for (int round = 0; round < 120; ++round) {
        const auto order = round % 2 ? RandomDiaries::Order::ByDate : RandomDiaries::Order::Shuffled;
        const int records = round % 40 == 0 ? 40000 : static_cast<int>(diaries.Pick(300));
        WriteBytes(path, StoreDiaryBytes(diaries.Make(records, order)));
        ExpectFileStatsMatchLoadedStats(path);
        if (testing::Test::HasFailure())
            FAIL() << "round " << round;
    }
}

} // namespace
