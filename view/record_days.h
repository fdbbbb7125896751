#pragma once

#include "diary/weight_record.h"

#include <cstdint>
#include <limits>

// The day number of each record, as the calendar rolls odd fields over
// (2002-13-01 is 2003-01-01, day 0 the last of the month before), for
// visiting records in order: the first of a month is looked up only when
// the month changes, which is what makes a pass over a million days cheap.
// Any order gives the same numbers, only more slowly.
class RecordDays {
public:
    // Inline, as it is called once per record and pass.
    std::int64_t Of(const WeightRecord& record)
    {
        const std::int64_t month = static_cast<std::int64_t>(record.year) * 65536 + record.month;
        if (month != m_month)
            EnterMonth(record, month);
        // FromYmd counts the day field on from the first of the month, so
        // adding the day to the month's first gives the same number for
        // every field value.
        return m_monthStart + (static_cast<std::int64_t>(record.day) - 1);
    }

private:
    void EnterMonth(const WeightRecord& record, std::int64_t month);

    // Year and month as one number, kept in a member of its own width: two
    // 16-bit members compared as one 32-bit word would make every record
    // wait for a store to forward, which cost a fifth of a dense paint.
    std::int64_t m_month = std::numeric_limits<std::int64_t>::min();
    std::int64_t m_monthStart = 0;
};
