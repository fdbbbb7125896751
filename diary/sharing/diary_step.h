#pragma once

#include "diary/sharing/day_values.h"

#include <optional>
#include <string>
#include <vector>

class CTarelogDoc;
struct DiaryContents;

// What one change made of a diary, day by day: the records of each day it
// touched before and after, and the unit and digits when it changed them.
// It is undone and redone on those days alone, so the days other writers
// brought in meanwhile (a reload, a merge on save, a sync engine's copies)
// stay as they are, and only where the touched days still hold what the
// step left: a day that changed since is never overwritten unseen.
class DiaryStep {
public:
    static DiaryStep Between(const DiaryContents& before, const DiaryContents& after);

    bool Empty() const { return m_before.empty() && !m_unit && !m_digits; }
    // How many days the step touched.
    std::size_t DayCount() const { return m_before.size(); }

    // The touched days (and "the unit and digits") that no longer hold what
    // the step left in `doc`; undoing is safe only when there are none.
    std::vector<DayKey> ChangedSinceDone(const CTarelogDoc& doc) const;
    // The same before a redo: days that no longer hold what the step found.
    std::vector<DayKey> ChangedSinceUndone(const CTarelogDoc& doc) const;
    // Whether the unit or digits differ from what the step left (or found).
    bool UnitChangedSinceDone(const CTarelogDoc& doc) const;
    bool UnitChangedSinceUndone(const CTarelogDoc& doc) const;

    // Put the touched days back as they were before (Undo) or after (Redo).
    // The caller checks first; these overwrite the touched days as told.
    void Undo(CTarelogDoc& doc) const;
    void Redo(CTarelogDoc& doc) const;

private:
    template <typename T> struct Change {
        T before;
        T after;
    };

    static std::vector<DayKey> Differing(const Days& expected, const CTarelogDoc& doc);
    static void Apply(const Days& days, const std::optional<Change<std::u16string>>& unit,
        const std::optional<Change<int>>& digits, bool forward, CTarelogDoc& doc);

    Days m_before; // every touched day, an empty list for a day that was absent
    Days m_after;  // the same days after the change
    std::optional<Change<std::u16string>> m_unit;
    std::optional<Change<int>> m_digits;
};
