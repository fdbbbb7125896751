#include "platform/calendar_date.h"

#include <gtest/gtest.h>

namespace {

std::int64_t Days(int y1, int m1, int d1, int y2, int m2, int d2)
{
    return DaysBetween(CalendarDate::FromYmd(y1, m1, d1), CalendarDate::FromYmd(y2, m2, d2));
}

TEST(CalendarDate, DifferencesAcrossMonthsAndLeapDays)
{
    EXPECT_EQ(Days(2002, 8, 1, 2002, 8, 31), 30);
    EXPECT_EQ(Days(2004, 2, 28, 2004, 3, 1), 2); // 2004 is a leap year
    EXPECT_EQ(Days(2003, 2, 28, 2003, 3, 1), 1);
    EXPECT_EQ(Days(2002, 8, 31, 2002, 8, 1), -30);
    EXPECT_EQ(Days(1970, 1, 1, 1970, 1, 1), 0);
}

TEST(CalendarDate, CenturyYearsFollowTheGregorianRule)
{
    EXPECT_EQ(Days(1900, 2, 28, 1900, 3, 1), 1); // 1900 is not a leap year
    EXPECT_EQ(Days(2000, 2, 28, 2000, 3, 1), 2); // 2000 is
    EXPECT_EQ(Days(2100, 2, 28, 2100, 3, 1), 1);
    EXPECT_EQ(Days(1600, 1, 1, 2000, 1, 1), 146097); // four centuries
}

TEST(CalendarDate, ExtremesOfSixteenBitFields)
{
    EXPECT_EQ(Days(-32768, 1, 1, 32767, 12, 31), 23936531);
    const CalendarDate low = CalendarDate::FromYmd(-32768, -32768, -32768);
    const CalendarDate high = CalendarDate::FromYmd(32767, 32767, 32767);
    EXPECT_GT(DaysBetween(low, high), 0);
    EXPECT_EQ(CalendarDate::FromYmd(1970, 1, 1).DayNumber(), 0);
    EXPECT_EQ(CalendarDate::FromYmd(2002, 8, 30).DayNumber(), 11929);
    const CalendarDate back = CalendarDate::FromYmd(-32768, 2, 29); // proleptic leap year
    EXPECT_EQ(back.Year(), -32768);
    EXPECT_EQ(back.Month(), 2);
    EXPECT_EQ(back.Day(), 29);
}

TEST(CalendarDate, FieldsOutOfRangeRollOverAsTheCalendarDoes)
{
    EXPECT_EQ(CalendarDate::FromYmd(2002, 13, 1), CalendarDate::FromYmd(2003, 1, 1));
    EXPECT_EQ(CalendarDate::FromYmd(2002, 0, 1), CalendarDate::FromYmd(2001, 12, 1));
    EXPECT_EQ(CalendarDate::FromYmd(2002, 3, 0), CalendarDate::FromYmd(2002, 2, 28));
    EXPECT_EQ(CalendarDate::FromYmd(2002, 1, 40), CalendarDate::FromYmd(2002, 2, 9));
    const CalendarDate rolled = CalendarDate::FromYmd(2004, 2, 30);
    EXPECT_EQ(rolled.Year(), 2004);
    EXPECT_EQ(rolled.Month(), 3);
    EXPECT_EQ(rolled.Day(), 1);
}

TEST(CalendarDate, RealDatesAreThoseWrittenAsTheCalendarHasThem)
{
    struct Case {
        int year, month, day;
        bool real;
    } cases[] = {
        {2024, 2, 29, true},
        {2023, 2, 29, false},
        {2000, 2, 29, true},
        {1900, 2, 29, false},
        {2024, 4, 30, true},
        {2024, 4, 31, false},
        {2024, 12, 31, true},
        {2024, 13, 1, false},
        {2024, 0, 1, false},
        {2024, 1, 0, false},
        {1, 1, 1, true},
        {0, 12, 31, false},
        {-1, 6, 1, false},
        {9999, 12, 31, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRealDate(c.year, c.month, c.day), c.real) << c.year << '-' << c.month << '-' << c.day;
}

} // namespace
