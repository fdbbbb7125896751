#pragma once

#include <cstdint>

// A span of calendar days, both ends included, as day numbers
// (CalendarDate::DayNumber, the calendar rolling odd fields over as the
// graph counts them). The zoomed graph shows the records of one.
struct DaySpan {
    std::int64_t first = 0;
    std::int64_t last = 0;

    std::int64_t Days() const { return last - first + 1; }
    bool Contains(std::int64_t day) const { return day >= first && day <= last; }
    friend bool operator==(const DaySpan&, const DaySpan&) = default;
};
