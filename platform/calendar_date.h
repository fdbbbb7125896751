#pragma once

#include <cstdint>

// A calendar day at 00:00, as the diary counts days. Any year, month and day
// the 16-bit record fields can hold makes a date: fields out of range are
// normalised the way the calendar would roll them over, so 2002-13-01 is
// 2003-01-01, 2002-03-00 is 2002-02-28 and 2002-01-40 is 2002-02-09. This
// keeps day differences defined for every record a file may carry.
class CalendarDate {
public:
    static CalendarDate FromYmd(int year, int month, int day);
    static CalendarDate Today();
    static CalendarDate FromDayNumber(std::int64_t dayNumber) { return CalendarDate(dayNumber); }

    int Year() const;
    int Month() const;
    int Day() const;

    // Days since 1970-01-01 (negative before).
    std::int64_t DayNumber() const { return m_dayNumber; }

    friend bool operator==(CalendarDate, CalendarDate) = default;

private:
    explicit CalendarDate(std::int64_t dayNumber)
        : m_dayNumber(dayNumber)
    {
    }
    std::int64_t m_dayNumber = 0;
};

// Whether year, month and day name a day the calendar has as written, in
// year 1 or later: readers of typed dates refuse what FromYmd would roll over.
bool IsRealDate(int year, int month, int day);

// Whole days from `from` to `to`; negative when `to` comes first.
std::int64_t DaysBetween(CalendarDate from, CalendarDate to);
