#pragma once

#include "diary/diary_file_error.h"
#include "diary/tarelog_doc.h"
#include "phone/day_entry.h"
#include "platform/result.h"

#include <memory>
#include <string>

// The page's reads and writes of its diary. A read takes the file as it is;
// a write goes the way of every other writer (tarelog-cli add, the window):
// the diary's lock, its conflict copies folded in, this machine's sync
// state, a safe replace.

// The diary as it is on disk; a diary that does not exist yet reads as a
// new, empty one (unit "k"), which the first entry creates.
Result<std::shared_ptr<const CTarelogDoc>, DiaryFileError> ReadDiary(const std::string& path);

// Why a write did not happen, in English and in Japanese.
struct WriteRefusal {
    std::string english;
    std::string japanese;
};

// Records the entry's day (inserted, or replacing that day's weight) and
// answers the diary as written.
Result<std::shared_ptr<const CTarelogDoc>, WriteRefusal> RecordDay(const std::string& path, const DayEntry& entry);
