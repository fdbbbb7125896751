#include "diary/sharing/diary_merge.h"

#include "diary/sharing/day_values.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

// The three-way rule for one value; `conflict` is set when both sides
// changed it differently, and the choice then decides.
template <typename T, typename Same>
const T& Pick(const T& base, const T& disk, const T& window, ConflictChoice choice, Same same, bool& conflict,
    bool& fromDisk)
{
    conflict = false;
    fromDisk = false;
    if (same(disk, window) || same(disk, base))
        return window;
    if (same(window, base)) {
        fromDisk = true;
        return disk;
    }
    conflict = true;
    fromDisk = choice == ConflictChoice::KeepDisk;
    return fromDisk ? disk : window;
}

// The disk's records with the days listed in `taken` given the window's
// records instead.
std::vector<WeightRecord> Rebuild(const std::vector<WeightRecord>& disk, const Days& window,
    const std::set<DayKey>& taken)
{
    Days replacements;
    for (const DayKey& key : taken)
        replacements[key] = RecordsOf(window, key);
    return ReplaceDays(disk, replacements);
}

} // namespace

DiaryMergeResult MergeDiaries(const DiaryContents& base, const DiaryContents& disk, const DiaryContents& window,
    ConflictChoice choice)
{
    DiaryMergeResult result;
    const Days baseDays = GroupByDay(base.records);
    const Days diskDays = GroupByDay(disk.records);
    const Days windowDays = GroupByDay(window.records);
    std::set<DayKey> allDays;
    for (const Days* days : {&baseDays, &diskDays, &windowDays})
        for (const auto& entry : *days)
            allDays.insert(entry.first);

    std::set<DayKey> takenFromWindow;
    for (const DayKey& key : allDays) {
        const DayRecords& b = RecordsOf(baseDays, key);
        const DayRecords& d = RecordsOf(diskDays, key);
        const DayRecords& w = RecordsOf(windowDays, key);
        bool conflict = false, fromDisk = false;
        const DayRecords& chosen = Pick(b, d, w, choice, SameRecords, conflict, fromDisk);
        if (conflict)
            result.conflicts.push_back(
                choice == ConflictChoice::KeepDisk ? DayConflict(key, d, w) : DayConflict(key, w, d));
        result.daysFromDisk += fromDisk && !SameRecords(d, w);
        if (!SameRecords(chosen, d))
            takenFromWindow.insert(key);
    }

    const auto same = [](const auto& a, const auto& b) { return a == b; };
    bool conflict = false, fromDisk = false;
    result.merged.unit = Pick(base.unit, disk.unit, window.unit, choice, same, conflict, fromDisk);
    if (conflict)
        result.conflicts.push_back(SettingsConflict(DiaryConflict::Kind::Unit));
    result.merged.digits = Pick(base.digits, disk.digits, window.digits, choice, same, conflict, fromDisk);
    if (conflict)
        result.conflicts.push_back(SettingsConflict(DiaryConflict::Kind::Digits));

    // One side unchanged: the other side exactly, order and duplicates kept.
    if (disk == base)
        result.merged.records = window.records;
    else if (window == base)
        result.merged.records = disk.records;
    else
        result.merged.records = Rebuild(disk.records, windowDays, takenFromWindow);
    return result;
}
