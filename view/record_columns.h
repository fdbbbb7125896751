#pragma once

#include "diary/tarelog_doc.h"
#include "view/record_days.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

// The pixel column of each record, x = trunc(d * kx + L), where d is the
// record's day offset from the first record. Offsets count a record whose
// fields are no real date as the calendar rolls it over (2002-13-01 is
// 2003-01-01, day 0 the last of the month before), so every record has one;
// like GetDayOffset they are saturated to the int range.
//
// Meant for visiting the records in order, as every pass of the graph does:
// the first of a month is looked up only when the month changes, and while
// the offsets climb through one column the column is known without any
// floating-point work. The answers are exactly those of the formula for any
// order of records; an unordered diary is only slower.
class RecordColumns {
public:
    RecordColumns(const CTarelogDoc& doc, double kx, double leftMargin);
    // Offsets from the first of `records`, for a graph of part of a diary.
    RecordColumns(std::span<const WeightRecord> records, double kx, double leftMargin);

    // Inline, as it is called once per record and pass.
    int Of(const WeightRecord& record)
    {
        const std::int64_t offset = std::clamp(m_days.Of(record) - m_first, kIntMin, kIntMax);
        if (offset >= m_columnFrom && offset <= m_columnTo)
            return m_column;
        return EnterColumn(offset);
    }

    // The formula itself, for an offset in the int range.
    int OfOffset(std::int64_t offset) const;

private:
    static constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
    static constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    int EnterColumn(std::int64_t offset);
    std::int64_t LastOffsetInColumn(std::int64_t from, int column) const;

    double m_kx;
    double m_leftMargin;
    std::int64_t m_first = 0;

    RecordDays m_days;

    // Offsets from m_columnFrom to m_columnTo all lie in m_column.
    std::int64_t m_columnFrom = 1;
    std::int64_t m_columnTo = 0;
    int m_column = 0;
};

// For records in date order, whose columns only grow: the index of the
// first of records[from...] whose column lies beyond `limit` (the size when
// none does), found by halving instead of a visit to each of the hundreds
// of records a column of a long diary holds. `guess` is how many records
// from `from` on the caller expects within (the length of the last column,
// say); a right guess costs two looks.
std::size_t FirstColumnBeyond(std::span<const WeightRecord> records, std::size_t from, std::int64_t limit,
    RecordColumns columns, std::size_t guess = 1);
