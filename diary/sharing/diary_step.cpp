#include "diary/sharing/diary_step.h"

#include "diary/sharing/diary_contents.h"
#include "diary/tarelog_doc.h"

#include <set>

DiaryStep DiaryStep::Between(const DiaryContents& before, const DiaryContents& after)
{
    DiaryStep step;
    const Days was = GroupByDay(before.records);
    const Days is = GroupByDay(after.records);
    std::set<DayKey> keys;
    for (const auto& [key, records] : was)
        keys.insert(key);
    for (const auto& [key, records] : is)
        keys.insert(key);
    for (const DayKey& key : keys) {
        const DayRecords& old = RecordsOf(was, key);
        const DayRecords& now = RecordsOf(is, key);
        if (SameRecords(old, now))
            continue;
        step.m_before[key] = old;
        step.m_after[key] = now;
    }
    if (before.unit != after.unit)
        step.m_unit = Change<std::u16string>{before.unit, after.unit};
    if (before.digits != after.digits)
        step.m_digits = Change<int>{before.digits, after.digits};
    return step;
}

std::vector<DayKey> DiaryStep::Differing(const Days& expected, const CTarelogDoc& doc)
{
    std::vector<DayKey> changed;
    if (expected.empty())
        return changed;
    const Days current = GroupByDay(doc.Records());
    for (const auto& [key, records] : expected)
        if (!SameRecords(records, RecordsOf(current, key)))
            changed.push_back(key);
    return changed;
}

std::vector<DayKey> DiaryStep::ChangedSinceDone(const CTarelogDoc& doc) const
{
    return Differing(m_after, doc);
}

std::vector<DayKey> DiaryStep::ChangedSinceUndone(const CTarelogDoc& doc) const
{
    return Differing(m_before, doc);
}

bool DiaryStep::UnitChangedSinceDone(const CTarelogDoc& doc) const
{
    return (m_unit && doc.m_unit != m_unit->after) || (m_digits && doc.m_digits != m_digits->after);
}

bool DiaryStep::UnitChangedSinceUndone(const CTarelogDoc& doc) const
{
    return (m_unit && doc.m_unit != m_unit->before) || (m_digits && doc.m_digits != m_digits->before);
}

void DiaryStep::Apply(const Days& days, const std::optional<Change<std::u16string>>& unit,
    const std::optional<Change<int>>& digits, bool forward, CTarelogDoc& doc)
{
    DiaryContents contents = DiaryContents::Of(doc);
    if (!days.empty())
        contents.records = ReplaceDays(contents.records, days);
    if (unit)
        contents.unit = forward ? unit->after : unit->before;
    if (digits)
        contents.digits = forward ? digits->after : digits->before;
    contents.ApplyTo(doc);
}

void DiaryStep::Undo(CTarelogDoc& doc) const
{
    Apply(m_before, m_unit, m_digits, false, doc);
}

void DiaryStep::Redo(CTarelogDoc& doc) const
{
    Apply(m_after, m_unit, m_digits, true, doc);
}
