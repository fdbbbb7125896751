#include "dialogs/weight_entry_logic.h"

#include "diary/tarelog_doc.h"

#include <gtest/gtest.h>

TEST(WeightEntryLogic, PresetTakesTheLatestWeightAndTheGivenDay)
{
    CTarelogDoc doc;
    WeightEntryData data;
    data.m_weight = 99.0;
    const CalendarDate day = CalendarDate::FromYmd(2003, 2, 1);
    data.Preset(doc, day);
    EXPECT_EQ(data.m_weight, 0.0) << "an empty diary presets 0";
    EXPECT_EQ(data.m_date, day);

    doc.SetDayWeight(70.5, 2001, 5, 9);
    doc.SetDayWeight(71.5, 2001, 5, 1); // earlier day, inserted before
    data.Preset(doc, day);
    EXPECT_EQ(data.m_weight, 70.5) << "latest is the last record, not the last entered";
}

TEST(WeightEntryLogic, PlusAndMinusAreUnbounded)
{
    WeightEntryData data;
    data.m_weight = 0.05;
    data.Step(IDC_WEIGHT_MINUS);
    EXPECT_LT(data.m_weight, 0.0);
    data.Step(IDC_WEIGHT_PLUS);
    data.Step(IDC_WEIGHT_PLUS);
    EXPECT_EQ(data.m_weight, 0.05 - 0.1 + 0.1 + 0.1);
    data.Step(1); // not a step button
    EXPECT_EQ(data.m_weight, 0.05 - 0.1 + 0.1 + 0.1);
}

TEST(WeightEntryLogic, CommitReplacesTheRecordOfTheSameDay)
{
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2001, 5, 1);
    doc.SetModifiedFlag(false);
    WeightEntryData data;
    data.m_date = CalendarDate::FromYmd(2001, 5, 1);
    data.m_weight = 61.5;
    data.Commit(doc);
    ASSERT_EQ(doc.GetRecordCount(), 1);
    EXPECT_EQ(doc.GetRecord(0).weight, 61.5);
    EXPECT_TRUE(doc.IsModified());
    data.m_date = CalendarDate::FromYmd(2001, 4, 30);
    data.Commit(doc);
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_EQ(doc.GetRecord(0).day, 30);
}
