#include "diary/import/csv_reader.h"

#include <gtest/gtest.h>

namespace {

struct Record {
    int line;
    std::vector<std::string> fields;
    bool unterminated;
};

std::vector<Record> ReadAll(std::string_view text, char separator = ',')
{
    CsvReader reader(text, separator);
    std::vector<Record> records;
    std::vector<std::string> fields;
    while (reader.Next(fields))
        records.push_back({reader.RecordLine(), fields, reader.RecordUnterminated()});
    return records;
}

using Fields = std::vector<std::string>;

TEST(CsvReader, SplitsFieldsAndTrimsUnquotedOnes)
{
    const auto records = ReadAll("a,b , c\n 1,\t2,3");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"a", "b", "c"}));
    EXPECT_EQ(records[1].fields, (Fields{"1", "2", "3"}));
    EXPECT_EQ(records[1].line, 2);
}

TEST(CsvReader, EmptyFieldsAreKept)
{
    const auto records = ReadAll("a,,\n,\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"a", "", ""}));
    EXPECT_EQ(records[1].fields, (Fields{"", ""}));
}

TEST(CsvReader, QuotedFieldsHoldSeparatorsQuotesAndLineEnds)
{
    const auto records = ReadAll("\"x, y\",\"say \"\"hi\"\"\",\"two\nlines\"\nnext,row\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"x, y", "say \"hi\"", "two\nlines"}));
    EXPECT_EQ(records[0].line, 1);
    // The line end inside the quotes counts, so the next record is on line 3.
    EXPECT_EQ(records[1].line, 3);
    EXPECT_FALSE(records[0].unterminated);
}

TEST(CsvReader, TextAfterAClosingQuoteStaysInTheField)
{
    const auto records = ReadAll("\"80.5\"kg,1\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fields, (Fields{"80.5kg", "1"}));
}

TEST(CsvReader, CrlfAndBlankLinesAreNotRecordsButCountAsLines)
{
    const auto records = ReadAll("a;b\r\n\r\n  \r\n1;2\r\n\r\n", ';');
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"a", "b"}));
    EXPECT_EQ(records[1].fields, (Fields{"1", "2"}));
    EXPECT_EQ(records[1].line, 4);
}

TEST(CsvReader, QuotedFieldsOnCrlfLinesLoseTheCarriageReturn)
{
    const auto records = ReadAll("\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"a", "b"}));
    EXPECT_EQ(records[1].fields, (Fields{"c", "d"}));
}

TEST(CsvReader, AnOpenQuoteRunsToTheEndAndIsFlagged)
{
    const auto records = ReadAll("ok,1\n\"open,2\nmore\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_FALSE(records[0].unterminated);
    EXPECT_TRUE(records[1].unterminated);
    EXPECT_EQ(records[1].line, 2);
}

} // namespace
