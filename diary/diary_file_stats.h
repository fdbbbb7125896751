#pragma once

#include "diary/diary_file.h"
#include "diary/diary_stats.h"

#include <string>

struct DiaryFileStats {
    DiaryStats figures;
    std::u16string unit;
};

// The figures of ComputeDiaryStats for the diary at `path`, and its unit,
// read as a stream rather than loaded. A diary in date order (as the window
// and tarelog-cli write them) is read once and costs one chunk of records
// whatever its length. One out of order is read again into memory and
// sorted compactly: 24 bytes a record (the record and a sort key), against
// the 32 to 40 bytes a record of loading the diary and sorting it whole. Files are accepted and refused as
// LoadDiaryFile accepts and refuses them.
Result<DiaryFileStats, DiaryFileError> ComputeDiaryFileStats(const std::string& path);
