// Two machines change one diary before they hear of each other; a sync
// engine keeps one version and renames the other into a conflict copy. The
// fold on either machine, with that machine's state, must give the same
// diary, day by day, whichever version the engine kept.
#include "diary/sharing/version_fold.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Weight = std::optional<double>;
constexpr Weight kNone = std::nullopt;

// One day: its weight in the version both started from, on machine A and
// on machine B when they write, and what the fold must keep when A wrote
// first and when A wrote last; with state, and without (a copy from
// elsewhere, or a machine that never wrote this diary).
struct DayCase {
    const char* name;
    Weight ancestor, a, b;
    Weight aFirst, aLast;               // with state
    Weight aFirstNoState, aLastNoState; // without
};

const DayCase kDays[] = {
    // Days the common version lacks.
    {"added on A", kNone, 61, kNone, 61, 61, 61, 61},
    {"added on B", kNone, kNone, 62, 62, 62, 62, 62},
    {"added alike on both", kNone, 61, 61, 61, 61, 61, 61},
    {"added differently on both", kNone, 61, 62, 62, 61, 62, 61},
    // Days it holds.
    {"unchanged", 60, 60, 60, 60, 60, 60, 60},
    {"changed on A", 60, 61, 60, 61, 61, 60, 61},
    {"changed on B", 60, 60, 62, 62, 62, 62, 60},
    {"changed alike on both", 60, 61, 61, 61, 61, 61, 61},
    {"changed differently on both", 60, 61, 62, 62, 61, 62, 61},
    {"deleted on A", 60, kNone, 60, kNone, kNone, 60, 60},
    {"deleted on B", 60, 60, kNone, kNone, kNone, 60, 60},
    {"deleted on both", 60, kNone, kNone, kNone, kNone, kNone, kNone},
    {"changed on A, deleted on B", 60, 61, kNone, 61, 61, 61, 61},
    {"deleted on A, changed on B", 60, kNone, 62, 62, 62, 62, 62},
};
constexpr std::int64_t kSecond = 1000000000;

DiaryContents Diary(Weight DayCase::*side)
{
    DiaryContents diary{{}, u"kg", 1};
    std::int16_t day = 1;
    for (const DayCase& c : kDays) {
        if (c.*side)
            diary.records.push_back(WeightRecord{*(c.*side), 2026, 1, day, {0, 0}});
        ++day;
    }
    return diary;
}

Weight WeightOn(const DiaryContents& diary, int day)
{
    Weight found;
    for (const WeightRecord& r : diary.records)
        if (r.day == day) {
            EXPECT_FALSE(found) << "day " << day << " twice";
            found = r.weight;
        }
    return found;
}

// What a machine remembers after it read `read` (with no state before) and
// then wrote `written` at `atNs`.
DiarySyncState StateOfWriter(const DiaryContents& read, const DiaryContents& written, std::int64_t atNs)
{
    const DiarySyncState first = StateAfterWrite({}, FoldVersions({{read, 0, "d"}}, {}), read, read, atNs - kSecond);
    return StateAfterWrite(first, FoldVersions({{read, 0, "d"}}, first), read, written, atNs);
}

struct Run {
    bool foldOnA;
    bool aKeptAsDiary; // the engine kept A's version under the diary's name
    bool aFirst;       // A wrote before B
    bool withState;
};

std::string Describe(const Run& run)
{
    return std::string("fold on ") + (run.foldOnA ? "A" : "B") + ", diary is " + (run.aKeptAsDiary ? "A's" : "B's")
        + ", " + (run.aFirst ? "A" : "B") + " wrote first, " + (run.withState ? "with" : "without") + " state";
}

void CheckRun(const Run& run)
{
    SCOPED_TRACE(Describe(run));
    const DiaryContents ancestor = Diary(&DayCase::ancestor);
    const DiaryContents onA = Diary(&DayCase::a);
    const DiaryContents onB = Diary(&DayCase::b);
    const std::int64_t aTime = (run.aFirst ? 100 : 200) * kSecond;
    const std::int64_t bTime = (run.aFirst ? 200 : 100) * kSecond;
    const DiaryVersion a{onA, aTime, "a.tlg"};
    const DiaryVersion b{onB, bTime, "b.tlg"};
    DiarySyncState state;
    if (run.withState)
        state = run.foldOnA ? StateOfWriter(ancestor, onA, aTime) : StateOfWriter(ancestor, onB, bTime);
    const VersionFold fold = FoldVersions(run.aKeptAsDiary ? std::vector{a, b} : std::vector{b, a}, state);

    std::size_t conflicts = 0;
    int day = 1;
    for (const DayCase& c : kDays) {
        const Weight expected = run.withState ? (run.aFirst ? c.aFirst : c.aLast)
                                              : (run.aFirst ? c.aFirstNoState : c.aLastNoState);
        EXPECT_EQ(WeightOn(fold.merged, day), expected) << c.name;
        const bool twoWeights = c.a && c.b && *c.a != *c.b;
        const bool realConflict = twoWeights && (!run.withState || (c.a != c.ancestor && c.b != c.ancestor));
        conflicts += realConflict;
        ++day;
    }
    EXPECT_EQ(fold.conflicts.size(), conflicts);
    for (const DiaryConflict& conflict : fold.conflicts) {
        ASSERT_EQ(conflict.kind, DiaryConflict::Kind::Day);
        const DayCase& c = kDays[std::get<2>(conflict.day) - 1];
        EXPECT_EQ(conflict.keptWeight, WeightOn(fold.merged, std::get<2>(conflict.day))) << c.name;
        EXPECT_EQ(conflict.otherWeight, conflict.keptWeight == c.a ? c.b : c.a) << c.name;
        EXPECT_EQ(conflict.otherPath, conflict.otherWeight == c.a ? "a.tlg" : "b.tlg") << c.name;
    }
}

TEST(VersionFold, EveryCombinationOfTwoMachinesPerDay)
{
    for (const bool foldOnA : {true, false})
        for (const bool aKeptAsDiary : {true, false})
            for (const bool aFirst : {true, false})
                for (const bool withState : {true, false})
                    CheckRun({foldOnA, aKeptAsDiary, aFirst, withState});
}

TEST(VersionFold, BothMachinesFoldToTheSameDiary)
{
    const DiaryContents ancestor = Diary(&DayCase::ancestor);
    const DiaryContents onA = Diary(&DayCase::a);
    const DiaryContents onB = Diary(&DayCase::b);
    const DiaryVersion a{onA, 100 * kSecond, "a.tlg"};
    const DiaryVersion b{onB, 200 * kSecond, "b.tlg"};
    const VersionFold atA = FoldVersions({b, a}, StateOfWriter(ancestor, onA, 100 * kSecond));
    const VersionFold atB = FoldVersions({b, a}, StateOfWriter(ancestor, onB, 200 * kSecond));
    EXPECT_EQ(atA.merged, atB.merged);
}

// After a fold and a write, the other machine's stale copy of the same
// conflict (the engine made one on each side) changes nothing, and this
// machine's own later changes survive a copy that predates them.
TEST(VersionFold, AFoldedMachineRecognisesStaleValues)
{
    const DiaryContents ancestor = Diary(&DayCase::ancestor);
    const DiaryContents onA = Diary(&DayCase::a);
    const DiaryContents onB = Diary(&DayCase::b);
    const DiaryVersion b{onB, 200 * kSecond, "b.tlg"};
    DiarySyncState state = StateOfWriter(ancestor, onA, 100 * kSecond);
    const VersionFold fold = FoldVersions({b, {onA, 100 * kSecond, "a.tlg"}}, state);
    state = StateAfterWrite(state, fold, fold.merged, fold.merged, 300 * kSecond);

    DiaryContents corrected = fold.merged;
    corrected.records[0].weight = 70.5; // A corrects its first day again
    const VersionFold afterCorrection = FoldVersions({{fold.merged, 300 * kSecond, "d"}}, state);
    state = StateAfterWrite(state, afterCorrection, fold.merged, corrected, 400 * kSecond);

    for (const DiaryContents& stale : {onA, onB, fold.merged}) {
        const VersionFold again = FoldVersions({{corrected, 400 * kSecond, "d"}, {stale, 500 * kSecond, "c"}}, state);
        for (int day = 1; day <= static_cast<int>(std::size(kDays)); ++day)
            EXPECT_EQ(WeightOn(again.merged, day), WeightOn(corrected, day)) << kDays[day - 1].name;
        EXPECT_EQ(again.merged, corrected);
        EXPECT_TRUE(again.conflicts.empty());
    }
}

TEST(VersionFold, TheUnitAndDigitsFollowTheSameRule)
{
    const DiaryContents ancestor{{}, u"kg", 1};
    DiaryContents onA = ancestor;
    DiaryContents onB = ancestor;
    onB.unit = u"lb";
    const DiarySyncState state = StateOfWriter(ancestor, onA, 100 * kSecond);
    const VersionFold fold = FoldVersions({{onA, 100 * kSecond, "a"}, {onB, 50 * kSecond, "b"}}, state);
    EXPECT_EQ(fold.merged.unit, u"lb");
    EXPECT_TRUE(fold.conflicts.empty());

    onA.digits = 2;
    const VersionFold both = FoldVersions({{onA, 100 * kSecond, "a"}, {onB, 50 * kSecond, "b"}},
        StateOfWriter(ancestor, onA, 100 * kSecond));
    EXPECT_EQ(both.merged.digits, 2);
    ASSERT_EQ(both.conflicts.size(), 1u);
    EXPECT_EQ(both.conflicts[0].kind, DiaryConflict::Kind::UnitAndDigits);
    EXPECT_EQ(both.conflicts[0].otherPath, "b");
}

TEST(SyncState, RoundTripsThroughItsBytes)
{
    const DiaryContents ancestor = Diary(&DayCase::ancestor);
    const DiarySyncState state = StateOfWriter(ancestor, Diary(&DayCase::a), 100 * kSecond);
    ASSERT_TRUE(state.known);
    const DiarySyncState back = DiarySyncState::FromBytes(state.Bytes());
    EXPECT_EQ(back, state);
    const std::string bytes = state.Bytes();
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7)
        EXPECT_FALSE(DiarySyncState::FromBytes(bytes.substr(0, cut)).known) << cut;
    EXPECT_FALSE(DiarySyncState::FromBytes(bytes + "x").known);
}

} // namespace
