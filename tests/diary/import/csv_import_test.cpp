#include "diary/import/weight_import.h"

#include "csv_test_support.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    int year, month, day;
    double weight;
};

void ExpectRows(const WeightImport& import, std::initializer_list<Expected> expected)
{
    ASSERT_EQ(import.weighings.size(), expected.size());
    std::size_t i = 0;
    for (const Expected& e : expected) {
        const Weighing& row = import.weighings[i++];
        EXPECT_EQ(row.date.year, e.year) << "row " << i;
        EXPECT_EQ(row.date.month, e.month) << "row " << i;
        EXPECT_EQ(row.date.day, e.day) << "row " << i;
        EXPECT_EQ(row.weight, e.weight) << "row " << i;
    }
}

Result<WeightImport, ImportError> ReadSampleAs(const char* name, ImportLayout layout = ImportLayout::Auto)
{
    const std::string text = ReadSample(name);
    EXPECT_FALSE(text.empty()) << name;
    return ReadWeightImport(text, layout);
}

TEST(WeightImportLayouts, OwnExport)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("tarelog.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::Tarelog);
    EXPECT_EQ(import->statedUnit, "");
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2024, 1, 3, 81.2}, {2024, 1, 4, 80.9}, {2024, 1, 6, 80.75}});
}

TEST(WeightImportLayouts, SemicolonsSlashesAndDecimalComma)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("semicolon_slashes.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::Tarelog);
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2024, 2, 1, 72.5}, {2024, 2, 2, 72.25}});
}

TEST(WeightImportLayouts, OpenScaleVersion2QuotedWithCommaInComment)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("openscale_v2.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::OpenScale);
    EXPECT_TRUE(import->problems.Empty()) << import->problems.First()[0].reason;
    ExpectRows(*import, {{2019, 3, 14, 82.35}, {2019, 3, 15, 81.9}, {2019, 3, 16, 81.6}});
}

TEST(WeightImportLayouts, OpenScaleVersion3AnyCaseKeepsSameDayRowsInOrder)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("openscale_v3.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::OpenScale);
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2023, 5, 1, 90.4}, {2023, 5, 2, 90.1}, {2023, 5, 2, 90.9}});

    const Result<WeightImport, ImportError> lower = ReadWeightImport("weight,time,date\n70,07:00,2023-05-03\n",
        ImportLayout::Auto);
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->layout, ImportLayout::OpenScale);
    ExpectRows(*lower, {{2023, 5, 3, 70.0}});
}

TEST(WeightImportLayouts, LibraWithUnitAndSemicolonInTheLog)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("libra.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::Libra);
    EXPECT_EQ(import->statedUnit, "lbs");
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2012, 11, 2, 185.4}, {2012, 11, 3, 184.8}, {2012, 11, 5, 184.2}});
}

TEST(WeightImportLayouts, HealthTimestampsCountByTheirWrittenDate)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("health.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::Health);
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2022, 8, 10, 68.4}, {2022, 8, 11, 68.1}, {2022, 8, 13, 67.95}});
}

TEST(WeightImportLayouts, TrendWeightLeavesOutInterpolatedRows)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("trendweight.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::TrendWeight);
    EXPECT_EQ(import->statedUnit, "kg");
    EXPECT_EQ(import->interpolated, 1u);
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2021, 1, 10, 77.8}, {2021, 1, 12, 77.1}});

    const Result<WeightImport, ImportError> unmarked = ReadWeightImport("Date,Actual Weight\n2021-01-10,77.8\n",
        ImportLayout::Auto);
    ASSERT_TRUE(unmarked);
    EXPECT_EQ(unmarked->layout, ImportLayout::TrendWeight);
    EXPECT_EQ(unmarked->statedUnit, "");
    ExpectRows(*unmarked, {{2021, 1, 10, 77.8}});

    const Result<WeightImport, ImportError> odd = ReadWeightImport(
        "Date,Actual Weight,Interpolated\n2021-01-10,77.8,maybe\n", ImportLayout::Auto);
    ASSERT_TRUE(odd);
    ASSERT_EQ(odd->problems.Count(), 1u);
    EXPECT_EQ(odd->problems.First()[0].line, 2);
}

TEST(WeightImportLayouts, ForcedLayoutMustMatchTheHeader)
{
    EXPECT_TRUE(ReadSampleAs("openscale_v2.csv", ImportLayout::OpenScale));
    EXPECT_EQ(ReadSampleAs("health.csv", ImportLayout::Health)->layout, ImportLayout::Health);
    // A plain date,weight file read as Health stays Health; read as tarelog, timestamps don't relabel it.
    EXPECT_EQ(ReadSampleAs("tarelog.csv", ImportLayout::Health)->layout, ImportLayout::Health);
    EXPECT_EQ(ReadSampleAs("health.csv", ImportLayout::Tarelog)->layout, ImportLayout::Tarelog);

    const Result<WeightImport, ImportError> wrong = ReadSampleAs("openscale_v2.csv", ImportLayout::Libra);
    ASSERT_FALSE(wrong);
    EXPECT_NE(wrong.error().detail.find("not a libra export"), std::string::npos) << wrong.error().detail;
    EXPECT_NE(ReadSampleAs("libra.csv", ImportLayout::Tarelog).error_or({}).detail, "");
    EXPECT_NE(ReadSampleAs("tarelog.csv", ImportLayout::TrendWeight).error_or({}).detail, "");
}

TEST(WeightImportLayouts, UnknownHeadersAndBrokenPreamblesAreRefused)
{
    for (const char* text : {"when,kg\n2024-01-01,80\n", "2024-01-01,80\n", "date,weight,note\n2024-01-01,80,x\n",
             "#Version:5\n#Units:kg\n2024-01-01T00:00:00Z;80;80;;;\n", "#Version:5\n#time;weight\n"}) {
        const Result<WeightImport, ImportError> import = ReadWeightImport(text, ImportLayout::Auto);
        EXPECT_NE(import.error_or({}).detail, "") << text;
    }
    EXPECT_EQ(ReadWeightImport("", ImportLayout::Auto).error_or({}).detail, "the file is empty");
    EXPECT_NE(ReadWeightImport("\xEF\xBB\xBF\r\n\r\n", ImportLayout::Auto).error_or({}).detail, "");
}

TEST(WeightImportText, ByteOrderMarkCrlfAndTrailingBlankLines)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("bom_crlf_blank.csv");
    ASSERT_TRUE(import);
    EXPECT_EQ(import->layout, ImportLayout::Tarelog);
    EXPECT_TRUE(import->problems.Empty());
    ExpectRows(*import, {{2024, 3, 1, 70.1}, {2024, 3, 2, 70.3}});
}

TEST(WeightImportText, HeaderOnlyFileHasNoRowsAndNoError)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("header_only.csv");
    ASSERT_TRUE(import);
    EXPECT_TRUE(import->weighings.empty());
    EXPECT_TRUE(import->problems.Empty());
}

TEST(WeightImportText, BadRowsAreReportedWithTheirLinesAndTheRestIsRead)
{
    const Result<WeightImport, ImportError> import = ReadSampleAs("bad_rows.csv");
    ASSERT_TRUE(import);
    ExpectRows(*import, {{2024, 1, 1, 80.0}, {2024, 1, 7, 80.4}});
    ASSERT_EQ(import->problems.Count(), 4u);
    EXPECT_EQ(import->problems.First()[0].line, 3);
    EXPECT_EQ(import->problems.First()[0].reason, "'2024-02-30' is not a calendar date");
    EXPECT_EQ(import->problems.First()[1].line, 4);
    EXPECT_EQ(import->problems.First()[1].reason, "'heavy' is not a number");
    EXPECT_EQ(import->problems.First()[2].line, 5);
    EXPECT_EQ(import->problems.First()[2].reason, "expected 2 fields, found 3");
    EXPECT_EQ(import->problems.First()[3].line, 7); // the blank line 6 still counts
    EXPECT_EQ(import->problems.First()[3].reason, "'inf' is not a finite number");
}

TEST(WeightImportText, LineNumbersCountLeadingBlankLinesBomAndLibraPreamble)
{
    const Result<WeightImport, ImportError> plain = ReadWeightImport("\xEF\xBB\xBF\n\ndate,weight\n2024-01-01,x\n",
        ImportLayout::Auto);
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->problems.Count(), 1u);
    EXPECT_EQ(plain->problems.First()[0].line, 4);

    const Result<WeightImport, ImportError> libra = ReadWeightImport(
        "#Version:5\n#Units:kg\n#date;weight;weight trend;body fat;body fat trend;log\n"
        "2012-11-02T06:41:10.000Z;80;80;;;\n\n2012-11-03;;;;;\n",
        ImportLayout::Auto);
    ASSERT_TRUE(libra);
    EXPECT_EQ(libra->statedUnit, "kg");
    ASSERT_EQ(libra->problems.Count(), 1u);
    EXPECT_EQ(libra->problems.First()[0].line, 6);
    EXPECT_EQ(libra->problems.First()[0].reason, "no weight");
}

TEST(WeightImportText, UnclosedQuoteAndMissingFieldsAreRowProblems)
{
    const Result<WeightImport, ImportError> import = ReadWeightImport(
        "\"date\",\"weight\"\n\"2024-01-01\",\"80\n2024-01-02,81\n", ImportLayout::Auto);
    ASSERT_TRUE(import);
    ASSERT_EQ(import->problems.Count(), 1u);
    EXPECT_EQ(import->problems.First()[0].line, 2);
    EXPECT_EQ(import->problems.First()[0].reason, "a quoted field is not closed");

    const Result<WeightImport, ImportError> shortRow = ReadWeightImport("date,weight\n2024-01-01\n",
        ImportLayout::Auto);
    ASSERT_TRUE(shortRow);
    ASSERT_EQ(shortRow->problems.Count(), 1u);
    EXPECT_EQ(shortRow->problems.First()[0].reason, "expected 2 fields, found 1");
}

} // namespace
