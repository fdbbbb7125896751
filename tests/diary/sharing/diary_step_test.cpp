// One change of the window as a step: what it touched, undone and redone
// on those days alone, and the days that changed since it.
#include "diary/sharing/diary_contents.h"
#include "diary/sharing/diary_step.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// "1=60 1=61 3=62": records of January 2026 in file order, day=weight.
std::vector<WeightRecord> Records(const std::string& text)
{
    std::vector<WeightRecord> records;
    std::istringstream in(text);
    std::string item;
    while (in >> item) {
        const std::size_t equals = item.find('=');
        records.push_back(WeightRecord{std::stod(item.substr(equals + 1)), 2026, 1,
            static_cast<std::int16_t>(std::stoi(item.substr(0, equals))), {0, 0}});
    }
    return records;
}

std::string Text(const CTarelogDoc& doc)
{
    std::ostringstream out;
    for (const WeightRecord& r : doc.Records())
        out << (out.tellp() > 0 ? " " : "") << r.day << "=" << r.weight;
    return out.str();
}

void Load(CTarelogDoc& doc, const std::string& text, const std::u16string& unit = u"k", int digits = 1)
{
    DiaryContents{Records(text), unit, digits}.ApplyTo(doc);
}

DiaryStep StepOf(const std::string& before, const std::string& after)
{
    return DiaryStep::Between(DiaryContents{Records(before), u"k", 1}, DiaryContents{Records(after), u"k", 1});
}

struct StepCase {
    const char* name;
    const char* before; // the diary before the change
    const char* after;  // and after it
    const char* since;  // the diary when the step is undone (after, changed by others)
    const char* undone; // what undoing leaves
    std::size_t days;   // days the step touched
};

const StepCase kCases[] = {
    {"day added", "1=60 2=61", "1=60 2=61 3=62", "1=60 2=61 3=62", "1=60 2=61", 1},
    {"day added in the middle", "1=60 3=62", "1=60 2=61 3=62", "1=60 2=61 3=62", "1=60 3=62", 1},
    {"day replaced", "1=60 2=61", "1=60 2=65", "1=60 2=65", "1=60 2=61", 1},
    {"day deleted goes back to its place", "1=60 2=61 3=62", "1=60 3=62", "1=60 3=62", "1=60 2=61 3=62", 1},
    {"date moved is two days", "1=60 2=61", "1=60 5=61", "1=60 5=61", "1=60 2=61", 2},
    {"duplicate day kept whole", "1=60 2=61 2=62", "1=60", "1=60", "1=60 2=61 2=62", 1},
    // Others' days since the step stay: only the step's own day goes back.
    {"another writer's day stays", "1=60", "1=60 2=61", "1=59 2=61 4=63", "1=59 4=63", 1},
    {"import of many days", "1=60", "1=60 2=61 3=62 4=63", "1=60 2=61 3=62 4=63", "1=60", 3},
};

class DiaryStepTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(DiaryStepTable, UndoesAndRedoesOnlyItsOwnDays)
{
    const StepCase& c = GetParam();
    const DiaryStep step = StepOf(c.before, c.after);
    EXPECT_EQ(step.DayCount(), c.days);
    CTarelogDoc doc;
    Load(doc, c.since);
    EXPECT_TRUE(step.ChangedSinceDone(doc).empty());
    step.Undo(doc);
    EXPECT_EQ(Text(doc), c.undone);
    EXPECT_TRUE(step.ChangedSinceUndone(doc).empty());
    step.Redo(doc);
    CTarelogDoc expected;
    Load(expected, c.since);
    EXPECT_EQ(Text(doc), Text(expected));
}

INSTANTIATE_TEST_SUITE_P(Steps, DiaryStepTable, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<StepCase>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

TEST(DiaryStep, NamesTheDaysThatChangedSince)
{
    const DiaryStep step = StepOf("1=60 2=61", "1=70 2=61 3=62");
    CTarelogDoc doc;
    // Day 1 was changed again and day 3 deleted by another writer; day 2 is
    // not the step's and changed too, which does not matter.
    Load(doc, "1=75 2=66");
    const std::vector<DayKey> changed = step.ChangedSinceDone(doc);
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0], (DayKey{2026, 1, 1}));
    EXPECT_EQ(changed[1], (DayKey{2026, 1, 3}));
    // Before a redo the step's days must be as it found them.
    Load(doc, "1=60 2=61 3=50");
    EXPECT_EQ(step.ChangedSinceUndone(doc), (std::vector<DayKey>{{2026, 1, 3}}));
}

TEST(DiaryStep, UnitAndDigitsAreAPartOfTheStep)
{
    const DiaryStep step = DiaryStep::Between(DiaryContents{Records("1=60"), u"k", 1},
        DiaryContents{Records("1=60"), u"kg", 2});
    EXPECT_FALSE(step.Empty());
    EXPECT_EQ(step.DayCount(), 0u);
    CTarelogDoc doc;
    Load(doc, "1=60 2=61", u"kg", 2);
    EXPECT_FALSE(step.UnitChangedSinceDone(doc));
    step.Undo(doc);
    EXPECT_EQ(doc.m_unit, u"k");
    EXPECT_EQ(doc.m_digits, 1);
    // The records others added are left alone.
    EXPECT_EQ(Text(doc), "1=60 2=61");
    // Someone set the unit again meanwhile: a redo would overwrite it.
    doc.m_unit = u"lb";
    EXPECT_TRUE(step.UnitChangedSinceUndone(doc));
    // A step that changed only records does not care for the unit.
    EXPECT_FALSE(StepOf("1=60", "1=61").UnitChangedSinceDone(doc));
}

TEST(DiaryStep, NoChangeIsNoStep)
{
    EXPECT_TRUE(StepOf("1=60 2=61", "1=60 2=61").Empty());
    // The same weight written again over the day is no change either.
    EXPECT_TRUE(StepOf("1=60", "1=60.0").Empty());
    EXPECT_FALSE(StepOf("1=60", "1=60.05").Empty());
}

} // namespace
