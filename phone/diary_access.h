#pragma once

#include "diary/diary_file_error.h"
#include "phone/day_entry.h"
#include "platform/result.h"

#include <string>

// The page's writes of its diary (its reads are DiaryViewCache's) go the
// way of every other writer's (tarelog-cli add, the window): the diary's
// lock, its conflict copies folded in, this machine's sync state, a safe
// replace.

// Why a write did not happen, in English and in Japanese.
struct WriteRefusal {
    std::string english;
    std::string japanese;
};

// Records the entry's day: inserted, or replacing that day's weight.
Status<WriteRefusal> RecordDay(const std::string& path, const DayWeight& entry);
