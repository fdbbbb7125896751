#pragma once

#include "diary/tarelog_doc.h"
#include "view/day_span.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The records a graph of the last `rangeDays` days shows: those dated from
// rangeDays - 1 days before the diary's latest date up to that date, in the
// diary's order. A range of 0 or less shows every record. Dates are counted
// as the calendar rolls odd fields over, as everywhere in the graph.
//
// A diary in date order (the usual case) shows a tail of its records, which
// is lent, not copied; only an unordered diary's records are gathered.
//
// A zoom shows the records dated within a span of days, cut the same way.
class ShownRecords {
public:
    ShownRecords(const CTarelogDoc& doc, int rangeDays);
    ShownRecords(const CTarelogDoc& doc, DaySpan days);

    std::span<const WeightRecord> Records() const { return m_records; }
    // The diary's index of Records()[i].
    std::size_t DiaryIndex(std::size_t i) const { return m_indexes.empty() ? m_first + i : m_indexes[i]; }

private:
    void Cut(const std::vector<WeightRecord>& all, std::int64_t from, std::int64_t to, bool ordered);

    std::span<const WeightRecord> m_records;
    std::size_t m_first = 0;
    std::vector<WeightRecord> m_gathered;
    std::vector<std::size_t> m_indexes;
};

// Whether no record is dated before the one before it, dates counted as
// the graph counts them.
bool RecordsInDateOrder(std::span<const WeightRecord> records);

// The trend of every shown record, computed over the whole diary: records
// taken in date order (one day's records in the diary's order), the first
// weight as it is and each later record moving it 10% of the way toward its
// weight. The line of a range therefore carries the same values as the
// same days in the full view.
std::vector<double> ShownTrend(const CTarelogDoc& doc, const ShownRecords& shown);
