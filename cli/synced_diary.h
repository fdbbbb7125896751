#pragma once

#include "diary/sharing/synced_write.h"

#include <optional>
#include <string>

// The read and the write of a diary by a verb that changes it, through
// SyncedDiaryWrite, with what the fold of its conflict copies did said in
// English on standard error.

// Loads the diary that `write`'s lock guards into `doc`; a failure other
// than a missing file (which `missing` then says) is reported. Names the
// copies folded in, the days two machines changed, and the files that only
// look like copies.
std::optional<DiaryFileFacts> LoadForWriting(SyncedDiaryWrite& write, CTarelogDoc& doc, bool& missing);
// Writes `doc`, or when `changed` is false and the fold changed nothing,
// only takes the folded copies away. False once a failure is reported.
bool SaveWritten(SyncedDiaryWrite& write, CTarelogDoc& doc, bool changed = true);

// Warns of the files beside `diary` that are named like its conflict
// copies but could not be read as diaries, and were left alone.
void WarnOfUnreadableCopies(const std::string& diary, const CopyFoldReport& report);

// For the verbs that only read a diary: says on standard error how many
// conflict copies lie beside `path` and how to fold them in.
void MentionConflictCopies(const std::string& path);

// What a fold did with a conflict, in a sentence; `wouldBe` for a dry run.
std::string DescribeConflict(const DiaryConflict& conflict, bool wouldBe);
// "2026-01-05" for a day, or "the unit and digits" (a fold's conflicts
// take them as one).
std::string NameOfConflict(const DiaryConflict& conflict);
