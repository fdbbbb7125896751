// Days pasted as text: the shapes spreadsheets, chats and this program's
// copy put on the clipboard, and text with no day in it.
#include "diary/import/pasted_text.h"

#include <gtest/gtest.h>

namespace {

struct Day {
    int year, month, day;
    double weight;
};

struct PasteCase {
    const char* name;
    const char* text;
    std::vector<Day> days;
    std::size_t problems;
    int firstProblemLine; // 0 when none
};

const PasteCase kCases[] = {
    {"tabs as a spreadsheet copies", "2024-05-01\t65.3\n2024-05-02\t65.1\n", {{2024, 5, 1, 65.3}, {2024, 5, 2, 65.1}},
        0, 0},
    {"crlf and no last line end", "2024-05-01\t65.3\r\n2024-05-02\t65.1", {{2024, 5, 1, 65.3}, {2024, 5, 2, 65.1}}, 0,
        0},
    {"commas", "2024-05-01,65.3\n2024-05-02,65.1\n", {{2024, 5, 1, 65.3}, {2024, 5, 2, 65.1}}, 0, 0},
    {"blanks", "2024-05-01   65.3\n  2024-05-02 65.1  \n", {{2024, 5, 1, 65.3}, {2024, 5, 2, 65.1}}, 0, 0},
    {"decimal comma after a tab", "2024-05-01\t65,3\n", {{2024, 5, 1, 65.3}}, 0, 0},
    {"semicolons with a decimal comma", "2024-05-01;65,3\n", {{2024, 5, 1, 65.3}}, 0, 0},
    {"spreadsheet short dates", "2024/5/1\t65.3\n2024/12/31\t64\n", {{2024, 5, 1, 65.3}, {2024, 12, 31, 64}}, 0, 0},
    {"further columns left out", "2024-05-01\t65.3\t22.1\tnote\n", {{2024, 5, 1, 65.3}}, 0, 0},
    {"blank lines between", "\n2024-05-01\t65.3\n\n\n2024-05-02\t65.1\n", {{2024, 5, 1, 65.3}, {2024, 5, 2, 65.1}}, 0,
        0},
    // A copied header is a row that is no day, counted on its own line.
    {"a header row", "日付\t体重\n2024-05-01\t65.3\n", {{2024, 5, 1, 65.3}}, 1, 1},
    {"a bad row keeps its line", "2024-05-01\t65.3\n\n2024-05-40\t65.1\n", {{2024, 5, 1, 65.3}}, 1, 3},
    {"a line of one field", "2024-05-01\t65.3\nhello\n", {{2024, 5, 1, 65.3}}, 1, 2},
    // An export copied whole is read as the import reads its file.
    {"this program's CSV export", "date,weight\n2024-05-01,65.3\n", {{2024, 5, 1, 65.3}}, 0, 0},
    {"trale's backup", "#Date weight[kg]\n2024-05-01T07:00:00 65.3\n", {{2024, 5, 1, 65.3}}, 0, 0},
    {"quoted fields", "\"2024-05-01\"\t\"65.3\"\n", {{2024, 5, 1, 65.3}}, 0, 0},
    {"a quote inside a field", "2024-05-01\t65\"3\n", {}, 1, 1},
    {"nothing", "", {}, 0, 0},
    {"prose", "see you at 7 tomorrow\nok\n", {}, 2, 1},
};

class PastedText : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PastedText, ReadsTheDaysOfEachShape)
{
    const PasteCase& c = GetParam();
    const Result<WeightImport, ImportError> read = ReadPastedWeights(c.text);
    ASSERT_TRUE(read) << read.error().detail;
    ASSERT_EQ(read->weighings.size(), c.days.size());
    for (std::size_t i = 0; i < c.days.size(); ++i) {
        SCOPED_TRACE("day " + std::to_string(i));
        EXPECT_EQ(read->weighings[i].date.year, c.days[i].year);
        EXPECT_EQ(read->weighings[i].date.month, c.days[i].month);
        EXPECT_EQ(read->weighings[i].date.day, c.days[i].day);
        EXPECT_DOUBLE_EQ(read->weighings[i].weight, c.days[i].weight);
    }
    EXPECT_EQ(read->problems.Count(), c.problems);
    if (c.firstProblemLine > 0) {
        ASSERT_FALSE(read->problems.First().empty());
        EXPECT_EQ(read->problems.First()[0].line, c.firstProblemLine);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, PastedText, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<PasteCase>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

TEST(PastedTextCount, ManyBadRowsAreCountedPastTheKeptOnes)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "no day here\n";
    text += "2024-05-01\t65.3\n";
    const Result<WeightImport, ImportError> read = ReadPastedWeights(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->weighings.size(), 1u);
    EXPECT_EQ(read->problems.Count(), 30u);
    EXPECT_EQ(read->problems.First().size(), ImportProblems::kKept);
    EXPECT_EQ(read->problems.First().back().line, static_cast<int>(ImportProblems::kKept));
}

} // namespace
