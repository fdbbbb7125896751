#pragma once

#include "diary/day_weight.h"
#include "diary/tarelog_doc.h"

#include <cstddef>
#include <vector>

struct MergeCounts {
    std::size_t added = 0;        // new records
    std::size_t replaced = 0;     // records whose weight was overwritten (by the same weight too)
    std::size_t superseded = 0;   // rows overridden by a later row of the same day
    bool diaryInDateOrder = true; // the records were strictly ascending before the merge
};

// Leaves `doc` exactly as calling doc.SetDayWeight for every row, in order,
// would leave it, but in one pass: O(n log n) in the rows plus O(records),
// where the repeated calls would be quadratic.
//
// SetDayWeight stops at the first record whose date is on or after the new
// one. In a diary that is not in date order that is always one of the
// records that are later than every record before them (the running
// maxima); a new day lands just before the first such record after it, and
// the records in between travel with the maximum before them. A plain
// two-way merge of the diary with the sorted rows does exactly that: once it
// has passed a maximum, every row up to that date is placed, so the records
// behind it can never match or stop a row. An unordered diary (a
// hand-edited list, an old file) therefore gets what the entry dialog would
// have given it, not
// a re-sorted copy. Reserved bytes of existing records are kept; new ones
// are zero. Views are updated and the modified flag set once, when there is
// at least one row.
MergeCounts MergeDayWeights(CTarelogDoc& doc, std::vector<DayWeight> rows);
