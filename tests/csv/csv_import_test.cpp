#include "doc/csv_import.h"

#include "csv_test_support.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    int year, month, day;
    double weight;
};

void ExpectRows(const CsvImport& import, std::initializer_list<Expected> expected)
{
    ASSERT_EQ(import.rows.size(), expected.size());
    std::size_t i = 0;
    for (const Expected& e : expected) {
        const DayWeight& row = import.rows[i++];
        EXPECT_EQ(row.year, e.year) << "row " << i;
        EXPECT_EQ(row.month, e.month) << "row " << i;
        EXPECT_EQ(row.day, e.day) << "row " << i;
        EXPECT_EQ(row.weight, e.weight) << "row " << i;
    }
}

CsvImport ReadSampleAs(const char* name, CsvLayout layout = CsvLayout::Auto)
{
    const std::string text = ReadSample(name);
    EXPECT_FALSE(text.empty()) << name;
    return ReadCsvImport(text, layout);
}

TEST(CsvImportLayouts, OwnExport)
{
    const CsvImport import = ReadSampleAs("tarelog.csv");
    EXPECT_EQ(import.error, "");
    EXPECT_EQ(import.layout, CsvLayout::Tarelog);
    EXPECT_EQ(import.unit, "");
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2024, 1, 3, 81.2}, {2024, 1, 4, 80.9}, {2024, 1, 6, 80.75}});
}

TEST(CsvImportLayouts, SemicolonsSlashesAndDecimalComma)
{
    const CsvImport import = ReadSampleAs("semicolon_slashes.csv");
    EXPECT_EQ(import.layout, CsvLayout::Tarelog);
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2024, 2, 1, 72.5}, {2024, 2, 2, 72.25}});
}

TEST(CsvImportLayouts, OpenScaleVersion2QuotedWithCommaInComment)
{
    const CsvImport import = ReadSampleAs("openscale_v2.csv");
    EXPECT_EQ(import.layout, CsvLayout::OpenScale);
    EXPECT_TRUE(import.problems.empty()) << import.problems[0].reason;
    ExpectRows(import, {{2019, 3, 14, 82.35}, {2019, 3, 15, 81.9}, {2019, 3, 16, 81.6}});
}

TEST(CsvImportLayouts, OpenScaleVersion3AnyCaseKeepsSameDayRowsInOrder)
{
    const CsvImport import = ReadSampleAs("openscale_v3.csv");
    EXPECT_EQ(import.layout, CsvLayout::OpenScale);
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2023, 5, 1, 90.4}, {2023, 5, 2, 90.1}, {2023, 5, 2, 90.9}});

    const CsvImport lower = ReadCsvImport("weight,time,date\n70,07:00,2023-05-03\n", CsvLayout::Auto);
    EXPECT_EQ(lower.layout, CsvLayout::OpenScale);
    ExpectRows(lower, {{2023, 5, 3, 70.0}});
}

TEST(CsvImportLayouts, LibraWithUnitAndSemicolonInTheLog)
{
    const CsvImport import = ReadSampleAs("libra.csv");
    EXPECT_EQ(import.layout, CsvLayout::Libra);
    EXPECT_EQ(import.unit, "lbs");
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2012, 11, 2, 185.4}, {2012, 11, 3, 184.8}, {2012, 11, 5, 184.2}});
}

TEST(CsvImportLayouts, HealthTimestampsCountByTheirWrittenDate)
{
    const CsvImport import = ReadSampleAs("health.csv");
    EXPECT_EQ(import.layout, CsvLayout::Health);
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2022, 8, 10, 68.4}, {2022, 8, 11, 68.1}, {2022, 8, 13, 67.95}});
}

TEST(CsvImportLayouts, TrendWeightLeavesOutInterpolatedRows)
{
    const CsvImport import = ReadSampleAs("trendweight.csv");
    EXPECT_EQ(import.layout, CsvLayout::TrendWeight);
    EXPECT_EQ(import.unit, "kg");
    EXPECT_EQ(import.interpolated, 1u);
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2021, 1, 10, 77.8}, {2021, 1, 12, 77.1}});

    const CsvImport unmarked = ReadCsvImport("Date,Actual Weight\n2021-01-10,77.8\n", CsvLayout::Auto);
    EXPECT_EQ(unmarked.layout, CsvLayout::TrendWeight);
    EXPECT_EQ(unmarked.unit, "");
    ExpectRows(unmarked, {{2021, 1, 10, 77.8}});

    const CsvImport odd = ReadCsvImport("Date,Actual Weight,Interpolated\n2021-01-10,77.8,maybe\n", CsvLayout::Auto);
    ASSERT_EQ(odd.problems.size(), 1u);
    EXPECT_EQ(odd.problems[0].line, 2);
}

TEST(CsvImportLayouts, ForcedLayoutMustMatchTheHeader)
{
    EXPECT_EQ(ReadSampleAs("openscale_v2.csv", CsvLayout::OpenScale).error, "");
    EXPECT_EQ(ReadSampleAs("health.csv", CsvLayout::Health).layout, CsvLayout::Health);
    // A plain date,weight file read as Health stays Health; read as tarelog, timestamps don't relabel it.
    EXPECT_EQ(ReadSampleAs("tarelog.csv", CsvLayout::Health).layout, CsvLayout::Health);
    EXPECT_EQ(ReadSampleAs("health.csv", CsvLayout::Tarelog).layout, CsvLayout::Tarelog);

    const CsvImport wrong = ReadSampleAs("openscale_v2.csv", CsvLayout::Libra);
    EXPECT_NE(wrong.error.find("not that of a libra file"), std::string::npos) << wrong.error;
    EXPECT_TRUE(wrong.rows.empty());
    EXPECT_NE(ReadSampleAs("libra.csv", CsvLayout::Tarelog).error, "");
    EXPECT_NE(ReadSampleAs("tarelog.csv", CsvLayout::TrendWeight).error, "");
}

TEST(CsvImportLayouts, UnknownHeadersAndBrokenPreamblesAreRefused)
{
    for (const char* text : {"when,kg\n2024-01-01,80\n", "2024-01-01,80\n", "date,weight,note\n2024-01-01,80,x\n",
             "#Version:5\n#Units:kg\n2024-01-01T00:00:00Z;80;80;;;\n", "#Version:5\n#time;weight\n"}) {
        const CsvImport import = ReadCsvImport(text, CsvLayout::Auto);
        EXPECT_NE(import.error, "") << text;
        EXPECT_TRUE(import.rows.empty()) << text;
    }
    EXPECT_EQ(ReadCsvImport("", CsvLayout::Auto).error, "the file is empty: no header line");
    EXPECT_NE(ReadCsvImport("\xEF\xBB\xBF\r\n\r\n", CsvLayout::Auto).error, "");
}

TEST(CsvImportText, ByteOrderMarkCrlfAndTrailingBlankLines)
{
    const CsvImport import = ReadSampleAs("bom_crlf_blank.csv");
    EXPECT_EQ(import.error, "");
    EXPECT_EQ(import.layout, CsvLayout::Tarelog);
    EXPECT_TRUE(import.problems.empty());
    ExpectRows(import, {{2024, 3, 1, 70.1}, {2024, 3, 2, 70.3}});
}

TEST(CsvImportText, HeaderOnlyFileHasNoRowsAndNoError)
{
    const CsvImport import = ReadSampleAs("header_only.csv");
    EXPECT_EQ(import.error, "");
    EXPECT_TRUE(import.rows.empty());
    EXPECT_TRUE(import.problems.empty());
}

TEST(CsvImportText, BadRowsAreReportedWithTheirLinesAndTheRestIsRead)
{
    const CsvImport import = ReadSampleAs("bad_rows.csv");
    EXPECT_EQ(import.error, "");
    ExpectRows(import, {{2024, 1, 1, 80.0}, {2024, 1, 7, 80.4}});
    ASSERT_EQ(import.problems.size(), 4u);
    EXPECT_EQ(import.problems[0].line, 3);
    EXPECT_EQ(import.problems[0].reason, "'2024-02-30' is not a calendar date");
    EXPECT_EQ(import.problems[1].line, 4);
    EXPECT_EQ(import.problems[1].reason, "'heavy' is not a number");
    EXPECT_EQ(import.problems[2].line, 5);
    EXPECT_EQ(import.problems[2].reason, "expected 2 fields, found 3");
    EXPECT_EQ(import.problems[3].line, 7); // the blank line 6 still counts
    EXPECT_EQ(import.problems[3].reason, "'inf' is not a finite number");
}

TEST(CsvImportText, LineNumbersCountLeadingBlankLinesBomAndLibraPreamble)
{
    const CsvImport plain = ReadCsvImport("\xEF\xBB\xBF\n\ndate,weight\n2024-01-01,x\n", CsvLayout::Auto);
    ASSERT_EQ(plain.problems.size(), 1u);
    EXPECT_EQ(plain.problems[0].line, 4);

    const CsvImport libra = ReadCsvImport("#Version:5\n#Units:kg\n#date;weight;weight trend;body fat;body fat trend;log\n"
                                          "2012-11-02T06:41:10.000Z;80;80;;;\n\n2012-11-03;;;;;\n",
        CsvLayout::Auto);
    EXPECT_EQ(libra.unit, "kg");
    ASSERT_EQ(libra.problems.size(), 1u);
    EXPECT_EQ(libra.problems[0].line, 6);
    EXPECT_EQ(libra.problems[0].reason, "no weight");
}

TEST(CsvImportText, UnclosedQuoteAndMissingFieldsAreRowProblems)
{
    const CsvImport import = ReadCsvImport("\"date\",\"weight\"\n\"2024-01-01\",\"80\n2024-01-02,81\n", CsvLayout::Auto);
    ASSERT_EQ(import.problems.size(), 1u);
    EXPECT_EQ(import.problems[0].line, 2);
    EXPECT_EQ(import.problems[0].reason, "a quoted field is not closed");

    const CsvImport shortRow = ReadCsvImport("date,weight\n2024-01-01\n", CsvLayout::Auto);
    ASSERT_EQ(shortRow.problems.size(), 1u);
    EXPECT_EQ(shortRow.problems[0].reason, "expected 2 fields, found 1");
}

} // namespace
