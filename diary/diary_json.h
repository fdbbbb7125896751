#pragma once

#include "diary/weight_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The JSON form of a diary that `tarelog-cli dump` prints, built in pieces
// so that a diary of any length can be written out as it is read:
//   head, then the records' objects separated by commas, then kDiaryJsonEnd.
// A record's object is
//   {"date":"YYYY-MM-DD","year":Y,"month":M,"day":D,"weight":W,"reserved":"hhhh"}
// with the date fields as printf's %04d and %02d print them (any 16-bit
// value, negatives included), the weight as the shortest decimal that reads
// back as it ("nan", "inf" and "-inf" as strings: JSON has no such numbers)
// and the two reserved bytes in lowercase hex.

// {"version":V,"unit":"...","digits":D,"records":[
std::string DiaryJsonHead(std::int32_t version, std::u16string_view unit, std::int32_t digits);

constexpr std::string_view kDiaryJsonEnd = "]}\n";

// Room enough for any record's object (the longest is about 130 bytes).
constexpr std::size_t kMaxJsonRecordSize = 160;

// Writes the record's object at `out`, which has room for
// kMaxJsonRecordSize bytes, and returns the end of what it wrote.
char* WriteJsonRecord(char* out, const WeightRecord& record);
