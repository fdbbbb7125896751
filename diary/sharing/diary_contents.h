#pragma once

#include "diary/tarelog_doc.h"

#include <string>
#include <vector>

// The part of a diary that merges and recovery copies work on: the records,
// the unit and the digits, without the document's views, path or flag.
struct DiaryContents {
    std::vector<WeightRecord> records;
    std::u16string unit;
    int digits = 0;

    static DiaryContents Of(const CTarelogDoc& doc);
    // Puts these contents into `doc`; its views, path and flag stay as they are.
    void ApplyTo(CTarelogDoc& doc) const;
    // Bitwise: NaN equals NaN, and reserved bytes count.
    bool operator==(const DiaryContents& other) const;
};
