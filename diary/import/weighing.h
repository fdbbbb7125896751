#pragma once

#include "diary/import/csv_values.h"
#include "diary/import/day_weight_merge.h"
#include "diary/import/weight_unit.h"

#include <cstddef>
#include <vector>

// One weighing read from another program's export: the writer's local day
// and time of day, the weight and the unit the file gives it in.
struct Weighing {
    CsvDate date;
    int second = -1; // second of the local day; -1 when the file gives only a date
    double weight = 0.0;
    WeightUnit unit = WeightUnit::Unknown;
};

// The day and time a timestamp counts by: as written when it carries an
// offset or none, or, for UTC, the day and time in the time zone this
// process runs in (TZ), which is the importing person's day.
void LocalDayOf(const CsvTimestamp& stamp, CsvDate& date, int& second);

// Moves a day and time of day by `minutes` (a UTC time to the writer's
// clock, when the file keeps the offset apart).
void ShiftByMinutes(CsvDate& date, int& second, int minutes);

// Which weighing of a day the diary keeps.
enum class KeepRule {
    Latest,   // the latest time of day
    Earliest, // the earliest time of day (the morning-weight habit)
};

struct DailyChoice {
    std::vector<DayWeight> days; // one per day, in date order
    std::size_t superseded = 0;  // weighings that lost to another of their day
};

// Picks one weighing per day by its time of day, whatever order the file
// has (newest-first exports are common). Weighings of the same time (or
// with no time at all) count in file order: the last one wins, as a later
// entry of a day replaces an earlier one in the diary.
DailyChoice ChooseOnePerDay(std::vector<Weighing> weighings, KeepRule rule);
