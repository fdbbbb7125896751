#include "doc/sync/diary_merge.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

// Every field of the date, so that impossible dates of damaged files never
// fold into one day.
using DayKey = std::tuple<std::int16_t, std::int16_t, std::int16_t>;
using DayRecords = std::vector<WeightRecord>;
using Days = std::map<DayKey, DayRecords>;

DayKey KeyOf(const WeightRecord& record)
{
    return {record.year, record.month, record.day};
}

bool SameRecords(const DayRecords& a, const DayRecords& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(WeightRecord)) == 0);
}

Days GroupByDay(const std::vector<WeightRecord>& records)
{
    Days days;
    for (const WeightRecord& record : records)
        days[KeyOf(record)].push_back(record);
    return days;
}

const DayRecords& Find(const Days& days, const DayKey& key)
{
    static const DayRecords kNone;
    const auto it = days.find(key);
    return it == days.end() ? kNone : it->second;
}

std::optional<double> LastWeight(const DayRecords& records)
{
    if (records.empty())
        return std::nullopt;
    return records.back().weight;
}

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
// records instead; days the disk lacks go in at their date position.
std::vector<WeightRecord> Rebuild(const std::vector<WeightRecord>& disk, const Days& window,
    const std::set<DayKey>& taken)
{
    std::vector<WeightRecord> out;
    out.reserve(disk.size());
    std::set<DayKey> placed;
    for (const WeightRecord& record : disk) {
        const DayKey key = KeyOf(record);
        if (!taken.count(key)) {
            out.push_back(record);
        } else if (placed.insert(key).second) {
            const DayRecords& replacement = Find(window, key);
            out.insert(out.end(), replacement.begin(), replacement.end());
        }
    }
    for (const DayKey& key : taken) {
        if (placed.count(key))
            continue;
        const DayRecords& added = Find(window, key);
        if (added.empty())
            continue;
        // Before the first record of a later date, where the entry dialog
        // would put it.
        const std::uint32_t dateKey = added.front().DateKey();
        const auto at = std::find_if(out.begin(), out.end(),
            [&](const WeightRecord& r) { return r.DateKey() > dateKey; });
        out.insert(at, added.begin(), added.end());
    }
    return out;
}

DiaryConflict ConflictOf(DiaryConflict::Kind kind)
{
    DiaryConflict conflict;
    conflict.kind = kind;
    return conflict;
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
        const DayRecords& b = Find(baseDays, key);
        const DayRecords& d = Find(diskDays, key);
        const DayRecords& w = Find(windowDays, key);
        bool conflict = false, fromDisk = false;
        const DayRecords& chosen = Pick(b, d, w, choice, SameRecords, conflict, fromDisk);
        if (conflict) {
            DiaryConflict c;
            std::tie(c.year, c.month, c.day) = key;
            c.diskWeight = LastWeight(d);
            c.windowWeight = LastWeight(w);
            result.conflicts.push_back(c);
        }
        result.daysFromDisk += fromDisk && !SameRecords(d, w);
        if (!SameRecords(chosen, d))
            takenFromWindow.insert(key);
    }

    const auto same = [](const auto& a, const auto& b) { return a == b; };
    bool conflict = false, fromDisk = false;
    result.merged.unit = Pick(base.unit, disk.unit, window.unit, choice, same, conflict, fromDisk);
    if (conflict)
        result.conflicts.push_back(ConflictOf(DiaryConflict::Kind::Unit));
    result.merged.digits = Pick(base.digits, disk.digits, window.digits, choice, same, conflict, fromDisk);
    if (conflict)
        result.conflicts.push_back(ConflictOf(DiaryConflict::Kind::Digits));

    // One side unchanged: the other side exactly, order and duplicates kept.
    if (disk == base)
        result.merged.records = window.records;
    else if (window == base)
        result.merged.records = disk.records;
    else
        result.merged.records = Rebuild(disk.records, windowDays, takenFromWindow);
    return result;
}
