#pragma once

#include "diary/import/day_weight_merge.h"
#include "diary/import/import_units.h"
#include "diary/import/weight_import.h"

#include <cstddef>
#include <string>

// What the person importing chose.
struct ImportChoices {
    KeepRule keep = KeepRule::Latest;
    bool convert = false; // weights in another unit than the diary's may be converted
};

// What merging an import into a diary did, for the command line (English)
// and the window (Japanese) to put in their own words.
struct ImportSummary {
    std::string unitRefusal;          // English; set when the units forbid the merge (nothing merged)
    bool conversionWouldHelp = false; // the refusal goes away with ImportChoices::convert
    MergeCounts merge;
    std::size_t superseded = 0;                // weighings that lost to another of their day
    std::size_t skipped = 0;                   // unreadable, interpolated and weightless rows
    std::size_t converted = 0;                 // weights converted to the diary's unit
    WeightUnit storedIn = WeightUnit::Unknown; // Unknown: stored as written
    bool unitTaken = false;                    // a new diary took the file's unit

    bool Merged() const { return unitRefusal.empty(); }
};

// The one road from a read import to a diary, for the command line and the
// window alike: settles the unit (a new diary takes the file's; another
// unit is refused unless converting is allowed), keeps one weighing per
// day and merges the days into `doc` as the entry dialog would. Consumes
// the import's weighings. On a unit refusal `doc` is not touched.
ImportSummary MergeImport(WeightImport& import, CTarelogDoc& doc, bool newDiary, const ImportChoices& choices);
