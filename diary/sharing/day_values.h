#pragma once

#include "diary/weight_record.h"

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

// A diary seen day by day, the way the merges compare versions of it.
//
// A day's value is the list of its records in file order, so duplicate days
// of old files are compared and carried as a whole; an absent day is the
// empty list. Every field of the date is part of the key, so that the
// impossible dates of damaged files never fold into one day.

using DayKey = std::tuple<std::int16_t, std::int16_t, std::int16_t>;
using DayRecords = std::vector<WeightRecord>;
using Days = std::map<DayKey, DayRecords>;

DayKey KeyOf(const WeightRecord& record);
Days GroupByDay(const std::vector<WeightRecord>& records);
// Bitwise: NaN equals NaN, and reserved bytes count.
bool SameRecords(const DayRecords& a, const DayRecords& b);
// The day's records in `days`, or the empty list.
const DayRecords& RecordsOf(const Days& days, const DayKey& key);

// A 64-bit digest of a day's value; 0 stands for an absent day and for no
// other value.
using DayDigest = std::uint64_t;
DayDigest DigestOf(const DayRecords& records);

// `records` with each day listed in `replacements` given that list instead
// (an empty list deletes the day). Records of other days keep their order;
// a day `records` lacks goes in before the first record of a later date,
// where the entry dialog would put it.
std::vector<WeightRecord> ReplaceDays(const std::vector<WeightRecord>& records, const Days& replacements);
