#pragma once

#include "diary/sharing/diary_conflict.h"
#include "diary/sharing/diary_contents.h"

#include <cstddef>
#include <vector>

// Merging two edits of one diary, day by day, against the version both
// started from: what the window loaded (the base), what the file holds now
// (the disk, changed by another program or device) and what the window
// holds (the window's own edits).
//
// A day's value is the list of its records in file order, so duplicate days
// of old files are compared and carried as a whole. A day changed on one
// side only takes that side's value; added or deleted on one side, it is
// added or deleted. A day changed on both sides to different values is a
// conflict. The unit and the digits follow the same rule.

// How the things both sides changed differently are settled: the one
// choice of a merge, and of a save that merges.
enum class ConflictChoice {
    KeepDisk,   // conflicting days keep what the file holds
    KeepWindow, // conflicting days take the window's value
};

struct DiaryMergeResult {
    DiaryContents merged;
    std::vector<DiaryConflict> conflicts; // kinds Day, Unit and Digits, kept as the choice given says
    std::size_t daysFromDisk = 0;         // days whose value came from the disk's changes
};

// The disk's record order is kept, with the window's changed days put in
// place of the disk's records of that day, and days only the window has
// inserted at their date position, as the entry dialog inserts them. When
// one side changed nothing, the result is exactly the other side.
DiaryMergeResult MergeDiaries(const DiaryContents& base, const DiaryContents& disk, const DiaryContents& window,
    ConflictChoice choice);
