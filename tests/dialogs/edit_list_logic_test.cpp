#include "dialogs/edit_list_logic.h"

#include "diary/tarelog_doc.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Day {
    int year, month, day;
    double weight;
};

void Fill(CTarelogDoc& doc, std::initializer_list<Day> days)
{
    for (const Day& d : days)
        doc.SetDayWeight(d.weight, d.year, d.month, d.day);
    doc.SetModifiedFlag(false);
}

std::vector<std::string> Lines(const CTarelogDoc& doc)
{
    std::vector<std::string> lines;
    for (const WeightRecord& r : doc.Records())
        lines.push_back(EditListLineText(r));
    return lines;
}

} // namespace

TEST(EditListText, LineShowsDateAndOneDecimal)
{
    EXPECT_EQ(EditListLineText(WeightRecord{65.3, 2001, 5, 3, {0, 0}}), " 2001/05/03   65.3");
    EXPECT_EQ(EditListLineText(WeightRecord{65.37, 2001, 12, 25, {0, 0}}), " 2001/12/25   65.4");
    EXPECT_EQ(EditListLineText(WeightRecord{123.45, 999, 1, 1, {0, 0}}), " 0999/01/01  123.5");
    EXPECT_EQ(EditListWeightText(65.37), " 65.4");
    EXPECT_EQ(EditListWeightText(0.0), "  0.0");
}

TEST(EditListUpdate, SameDateKeepsThePlaceAndMarksModified)
{
    CTarelogDoc doc;
    Fill(doc, {{2001, 5, 1, 60.0}, {2001, 5, 2, 61.0}, {2001, 5, 3, 62.0}});
    ASSERT_EQ(UpdateListRecord(doc, 1, " 63.5", CalendarDate::FromYmd(2001, 5, 2)), RecordUpdate::Updated);
    EXPECT_DOUBLE_EQ(doc.GetRecord(1).weight, 63.5);
    EXPECT_EQ(doc.GetRecord(1).day, 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST(EditListUpdate, ChangedDateMovesTheRecordToItsDatePosition)
{
    CTarelogDoc doc;
    Fill(doc, {{2001, 5, 1, 60.0}, {2001, 5, 2, 61.0}, {2001, 5, 3, 62.0}, {2001, 5, 5, 64.0}});
    ASSERT_EQ(UpdateListRecord(doc, 0, "60.0", CalendarDate::FromYmd(2001, 5, 4)), RecordUpdate::Updated);
    EXPECT_EQ(Lines(doc),
        (std::vector<std::string>{" 2001/05/02   61.0", " 2001/05/03   62.0", " 2001/05/04   60.0",
            " 2001/05/05   64.0"}));

    ASSERT_EQ(UpdateListRecord(doc, 3, "64.0", CalendarDate::FromYmd(2000, 12, 31)), RecordUpdate::Updated);
    EXPECT_EQ(Lines(doc),
        (std::vector<std::string>{" 2000/12/31   64.0", " 2001/05/02   61.0", " 2001/05/03   62.0",
            " 2001/05/04   60.0"}));

    ASSERT_EQ(UpdateListRecord(doc, 1, "61", CalendarDate::FromYmd(2002, 1, 1)), RecordUpdate::Updated);
    EXPECT_EQ(doc.GetRecord(3).year, 2002);
    EXPECT_EQ(doc.GetRecordCount(), 4);
    EXPECT_TRUE(doc.IsModified());
}

TEST(EditListUpdate, DateHeldByAnotherRecordIsRefusedUnchanged)
{
    CTarelogDoc doc;
    Fill(doc, {{2001, 5, 1, 60.0}, {2001, 5, 2, 61.0}});
    const std::vector<std::string> before = Lines(doc);
    const std::uint64_t revision = doc.Revision();
    EXPECT_EQ(UpdateListRecord(doc, 0, "70.0", CalendarDate::FromYmd(2001, 5, 2)), RecordUpdate::DateTaken);
    EXPECT_EQ(doc.Revision(), revision) << "a refused update only read the records";
    EXPECT_EQ(Lines(doc), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST(EditListUpdate, WeightIsTheLeadingNumberOfTheText)
{
    CTarelogDoc doc;
    Fill(doc, {{2001, 5, 1, 60.0}});
    const CalendarDate day = CalendarDate::FromYmd(2001, 5, 1);
    EXPECT_EQ(UpdateListRecord(doc, 0, "  71.25kg", day), RecordUpdate::Updated);
    EXPECT_EQ(doc.GetRecord(0).weight, 71.25);
    EXPECT_EQ(UpdateListRecord(doc, 0, "-0.5", day), RecordUpdate::Updated);
    EXPECT_EQ(doc.GetRecord(0).weight, -0.5);
}

// A typo is refused, not stored as 0.0; neither the weight nor the date
// nor the modified flag changes.
TEST(EditListUpdate, TextWithoutALeadingFiniteNumberChangesNothing)
{
    CTarelogDoc doc;
    Fill(doc, {{2001, 5, 1, 60.0}});
    doc.SetModifiedFlag(false);
    for (const char* typo : {"abc", "", "  ", "kg60", ".", "-", "nan", "-inf", "1e999"}) {
        EXPECT_EQ(UpdateListRecord(doc, 0, typo, CalendarDate::FromYmd(2001, 5, 7)), RecordUpdate::NotANumber) << typo;
        EXPECT_EQ(doc.GetRecord(0).weight, 60.0) << typo;
        EXPECT_EQ(doc.GetRecord(0).day, 1) << typo;
    }
    EXPECT_FALSE(doc.IsModified());
}
