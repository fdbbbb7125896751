#include "platform/calendar_date.h"

#include <ctime>

// std::chrono's calendar stops at year ±32767, and record fields reach
// further once months and days roll over, so the proleptic Gregorian day
// count is done here on 64-bit integers (the well-known era algorithm: 400
// years are exactly 146097 days).
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d)
{
    y -= m <= 2;
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    std::int64_t year;
    int month;
    int day;
};

Civil CivilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

} // namespace

CalendarDate CalendarDate::FromYmd(int year, int month, int day)
{
    // An out-of-range month carries into the year; the day counts from the
    // first of the resulting month, so day 0 is the last of the one before.
    const std::int64_t months = static_cast<std::int64_t>(month) - 1;
    const std::int64_t y = year + FloorDiv(months, 12);
    const std::int64_t m = months - FloorDiv(months, 12) * 12 + 1;
    return CalendarDate(DaysFromCivil(y, m, 1) + (static_cast<std::int64_t>(day) - 1));
}

CalendarDate CalendarDate::Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

int CalendarDate::Year() const
{
    return static_cast<int>(CivilFromDays(m_dayNumber).year);
}
int CalendarDate::Month() const
{
    return CivilFromDays(m_dayNumber).month;
}
int CalendarDate::Day() const
{
    return CivilFromDays(m_dayNumber).day;
}

std::int64_t DaysBetween(CalendarDate from, CalendarDate to)
{
    return to.DayNumber() - from.DayNumber();
}

bool IsRealDate(int year, int month, int day)
{
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    const CalendarDate date = CalendarDate::FromYmd(year, month, day);
    return date.Year() == year && date.Month() == month && date.Day() == day;
}
