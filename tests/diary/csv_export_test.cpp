#include "diary/csv_export.h"

#include "diary/import/weight_import.h"
#include "diary/import/day_weight_merge.h"
#include "platform/calendar_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace {

WeightRecord Record(double weight, int y, int m, int d)
{
    return WeightRecord{weight, static_cast<std::int16_t>(y), static_cast<std::int16_t>(m),
        static_cast<std::int16_t>(d), {0, 0}};
}

TEST(CsvExport, HeaderThenOneLinePerRecordInDocumentOrder)
{
    const std::string csv = ExportCsv(
        {Record(80.3, 2024, 1, 5), Record(79.5, 2002, 12, 31), Record(0.1 + 0.2, 2024, 1, 6)});
    EXPECT_EQ(csv, "date,weight\n2024-01-05,80.3\n2002-12-31,79.5\n2024-01-06,0.30000000000000004\n");
    EXPECT_EQ(ExportCsv({}), "date,weight\n");
}

TEST(CsvExport, DateFieldsAreWrittenAsPrintfWouldEvenOutOfRange)
{
    const int years[] = {0, 7, 99, 2002, 12345, 32767, -1, -5, -123, -32768};
    const int parts[] = {0, 1, 9, 10, 13, 99, 100, -1, -9, -10, -32768};
    for (int year : years) {
        for (int part : parts) {
            const WeightRecord record = Record(1, year, part, part);
            char expected[64];
            std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", year, part, part);
            EXPECT_EQ(IsoDateOf(record), expected) << year << " " << part;
        }
    }
}

TEST(CsvExport, RoundTripThroughImportIsBitExact)
{
    std::mt19937_64 random(77);
    std::vector<WeightRecord> diary;
    for (int i = 0; i < 2000; ++i) {
        std::uint64_t bits = random();
        double weight;
        std::memcpy(&weight, &bits, sizeof weight);
        if (!std::isfinite(weight))
            weight = -0.0;
        // Every day from 1999-12-01 on, so months, years and leap days pass by.
        const CalendarDate date = CalendarDate::FromYmd(1999, 12, 1 + i);
        diary.push_back(Record(i % 3 == 0 ? weight : 60.0 + i * 0.01, date.Year(), date.Month(), date.Day()));
    }
    diary.push_back(Record(std::numeric_limits<double>::denorm_min(), 2010, 1, 1));
    diary.push_back(Record(std::numeric_limits<double>::max(), 2010, 1, 2));

    Result<WeightImport, ImportError> import = ReadWeightImport(ExportCsv(diary), ImportLayout::Auto);
    ASSERT_TRUE(import);
    ASSERT_TRUE(import->problems.Empty())
        << import->problems.First()[0].line << ": " << import->problems.First()[0].reason;
    CTarelogDoc doc;
    MergeDayWeights(doc, ChooseOnePerDay(std::move(import->weighings), KeepRule::Latest).days);
    ASSERT_EQ(doc.GetRecordCount(), static_cast<int>(diary.size()));
    for (std::size_t i = 0; i < diary.size(); ++i)
        ASSERT_EQ(std::memcmp(&doc.GetRecord(static_cast<int>(i)), &diary[i], sizeof(WeightRecord)), 0) << i;
}

} // namespace
