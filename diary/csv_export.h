#pragma once

#include "diary/weight_record.h"

#include <string>
#include <vector>

// The diary as CSV: the line "date,weight", then one line per record in
// document order, its stored fields as %04d-%02d-%02d and its weight in the
// shortest text that reads back as the same double. Lines end in LF. Fields
// are written as stored, even when they make no calendar date.
std::string ExportCsv(const std::vector<WeightRecord>& records);

// A record's date as %04d-%02d-%02d of its stored fields.
std::string IsoDateOf(const WeightRecord& record);
