// The three-way merge of what the window loaded, what the file holds now
// and what the window holds, day by day.
#include "diary/sharing/diary_merge.h"

#include <gtest/gtest.h>

#include <cmath>
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

std::string Text(const std::vector<WeightRecord>& records)
{
    std::ostringstream out;
    for (const WeightRecord& r : records)
        out << (out.tellp() > 0 ? " " : "") << r.day << "=" << r.weight;
    return out.str();
}

DiaryContents Diary(const std::string& text)
{
    return DiaryContents{Records(text), u"k", 1};
}

struct MergeCase {
    const char* name;
    const char* base;
    const char* disk;
    const char* window;
    const char* keepDisk;   // merged records when conflicts keep the disk
    const char* keepWindow; // ... and when they keep the window
    const char* conflicts;  // days in conflict
    std::size_t fromDisk;   // days that came from the disk when keeping it
};

const MergeCase kCases[] = {
    {"nothing changed", "1=60", "1=60", "1=60", "1=60", "1=60", "", 0},
    {"window adds", "1=60", "1=60", "1=60 2=61", "1=60 2=61", "1=60 2=61", "", 0},
    {"window changes", "1=60", "1=60", "1=59", "1=59", "1=59", "", 0},
    {"window deletes", "1=60 2=61", "1=60 2=61", "2=61", "2=61", "2=61", "", 0},
    {"disk adds", "1=60", "1=60 3=62", "1=60", "1=60 3=62", "1=60 3=62", "", 1},
    {"both add other days", "1=60", "1=60 3=62", "1=60 2=61", "1=60 2=61 3=62", "1=60 2=61 3=62", "", 1},
    {"disk changes, window adds", "1=60 2=61", "1=59 2=61", "1=60 2=61 3=63", "1=59 2=61 3=63", "1=59 2=61 3=63", "",
        1},
    {"disk deletes, window changes another", "1=60 2=61", "2=61", "1=60 2=62", "2=62", "2=62", "", 1},
    {"window deletes, disk changes another", "1=60 2=61", "1=60 2=65", "2=61", "2=65", "2=65", "", 1},
    {"both make the same change", "1=60", "1=61", "1=61", "1=61", "1=61", "", 0},
    {"both add the same day alike", "", "1=60", "1=60", "1=60", "1=60", "", 0},
    {"both delete", "1=60 2=61", "2=61", "2=61", "2=61", "2=61", "", 0},
    {"changed differently", "1=60", "1=61", "1=62", "1=61", "1=62", "1", 1},
    {"deleted on disk, changed in window", "1=60 2=61", "2=61", "1=65 2=61", "2=61", "1=65 2=61", "1", 1},
    {"changed on disk, deleted in window", "1=60 2=61", "1=64 2=61", "2=61", "1=64 2=61", "2=61", "1", 1},
    {"added differently", "", "1=60", "1=61", "1=60", "1=61", "1", 1},
    {"conflict among clean changes", "1=60 2=61 3=62", "1=50 2=71 3=62", "1=60 2=72 3=52", "1=50 2=71 3=52",
        "1=50 2=72 3=52", "2", 2},
    // The disk's order is kept; a day the window adds goes where the entry
    // dialog would put it.
    {"out of date order", "5=60 1=61", "5=60 1=61 3=62", "5=60 1=63", "5=60 1=63 3=62", "5=60 1=63 3=62", "", 1},
    {"added between others", "1=60 5=61", "1=60 5=61 9=62", "1=60 3=63 5=61", "1=60 3=63 5=61 9=62",
        "1=60 3=63 5=61 9=62", "", 1},
    // Duplicate days of old files travel as one value.
    {"duplicate day replaced in window", "1=60 1=61 2=62", "1=60 1=61 2=64", "1=70 2=62", "1=70 2=64", "1=70 2=64", "",
        1},
    {"duplicate day grown on disk", "1=60 2=62", "1=60 1=61 2=62", "1=60 2=62 4=64", "1=60 1=61 2=62 4=64",
        "1=60 1=61 2=62 4=64", "", 1},
};

TEST(DiaryMerge, EachCaseMergesDayByDay)
{
    for (const MergeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const DiaryMergeResult disk = MergeDiaries(Diary(c.base), Diary(c.disk), Diary(c.window),
            ConflictChoice::KeepDisk);
        const DiaryMergeResult window = MergeDiaries(Diary(c.base), Diary(c.disk), Diary(c.window),
            ConflictChoice::KeepWindow);
        EXPECT_EQ(Text(disk.merged.records), c.keepDisk);
        EXPECT_EQ(Text(window.merged.records), c.keepWindow);
        std::string conflicts;
        for (const DiaryConflict& conflict : disk.conflicts)
            conflicts += (conflicts.empty() ? "" : " ") + std::to_string(std::get<2>(conflict.day));
        EXPECT_EQ(conflicts, c.conflicts);
        EXPECT_EQ(disk.daysFromDisk, c.fromDisk);
    }
}

TEST(DiaryMerge, ConflictsNameTheWeightKeptAndTheOther)
{
    for (const ConflictChoice choice : {ConflictChoice::KeepDisk, ConflictChoice::KeepWindow}) {
        const DiaryMergeResult result = MergeDiaries(Diary("1=60 2=61"), Diary("1=64 2=61"), Diary("2=61"), choice);
        ASSERT_EQ(result.conflicts.size(), 1u);
        const DiaryConflict& c = result.conflicts[0];
        EXPECT_EQ(c.kind, DiaryConflict::Kind::Day);
        EXPECT_EQ(c.day, DayKey(2026, 1, 1));
        const std::optional<double> disk = 64.0, window = std::nullopt; // deleted in the window
        EXPECT_EQ(c.keptWeight, choice == ConflictChoice::KeepDisk ? disk : window);
        EXPECT_EQ(c.otherWeight, choice == ConflictChoice::KeepDisk ? window : disk);
        EXPECT_TRUE(c.otherPath.empty());
    }
}

// Every combination of a day's value on the three sides (absent, A, B, C),
// inside a diary where other days changed on both sides.
TEST(DiaryMerge, EveryCombinationForOneDayFollowsTheRule)
{
    const char* values[] = {"", "15=60", "15=61", "15=62"};
    for (const char* b : values)
        for (const char* d : values)
            for (const char* w : values) {
                SCOPED_TRACE(std::string("base '") + b + "' disk '" + d + "' window '" + w + "'");
                const std::string base = std::string("1=50 ") + b + " 30=70";
                const std::string disk = std::string("1=51 ") + d + " 30=70";
                const std::string window = std::string("1=50 ") + w + " 30=71";
                const bool conflict = std::string(d) != b && std::string(w) != b && std::string(d) != w;
                for (const ConflictChoice choice : {ConflictChoice::KeepDisk, ConflictChoice::KeepWindow}) {
                    const DiaryMergeResult result = MergeDiaries(Diary(base), Diary(disk), Diary(window), choice);
                    const char* day = conflict ? (choice == ConflictChoice::KeepDisk ? d : w)
                                               : (std::string(d) == b ? w : d);
                    EXPECT_EQ(Text(result.merged.records), Text(Records(std::string("1=51 ") + day + " 30=71")));
                    EXPECT_EQ(result.conflicts.size(), conflict ? 1u : 0u);
                }
            }
}

TEST(DiaryMerge, UnitAndDigitsFollowTheSameRule)
{
    DiaryContents base = Diary("1=60"), disk = base, window = base;
    disk.unit = u"kg";
    window.digits = 2;
    DiaryMergeResult result = MergeDiaries(base, disk, window, ConflictChoice::KeepDisk);
    EXPECT_EQ(result.merged.unit, u"kg");
    EXPECT_EQ(result.merged.digits, 2);
    EXPECT_TRUE(result.conflicts.empty());

    window.unit = u"lb";
    disk.digits = 0;
    result = MergeDiaries(base, disk, window, ConflictChoice::KeepDisk);
    ASSERT_EQ(result.conflicts.size(), 2u);
    EXPECT_EQ(result.conflicts[0].kind, DiaryConflict::Kind::Unit);
    EXPECT_EQ(result.conflicts[1].kind, DiaryConflict::Kind::Digits);
    EXPECT_EQ(result.merged.unit, u"kg");
    EXPECT_EQ(result.merged.digits, 0);
    result = MergeDiaries(base, disk, window, ConflictChoice::KeepWindow);
    EXPECT_EQ(result.merged.unit, u"lb");
    EXPECT_EQ(result.merged.digits, 2);
}

TEST(DiaryMerge, OneSideUnchangedGivesTheOtherExactly)
{
    // Records the merge would otherwise regroup: the file's bytes must stay.
    DiaryContents base = Diary("3=60 1=61 3=62");
    DiaryContents disk = Diary("3=60 1=61 3=62 2=63");
    disk.records[0].reserved[0] = 7;
    EXPECT_EQ(MergeDiaries(base, disk, base, ConflictChoice::KeepWindow).merged, disk);
    EXPECT_EQ(MergeDiaries(base, base, disk, ConflictChoice::KeepDisk).merged, disk);
    // NaN weights compare by their bits, so an untouched NaN day is no change.
    DiaryContents nan = Diary("1=60");
    nan.records[0].weight = std::nan("");
    EXPECT_TRUE(MergeDiaries(nan, nan, Diary("1=60"), ConflictChoice::KeepDisk).conflicts.empty());
}

} // namespace
