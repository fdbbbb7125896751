#include "diary/import/csv_values.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct DateCase {
    const char* text;
    int year, month, day;
};

TEST(CsvValues, DatesInEveryAcceptedShape)
{
    const DateCase cases[] = {
        {"2024-01-05", 2024, 1, 5}, {"2024/12/31", 2024, 12, 31}, {"05.01.2024", 2024, 1, 5},
        {"2024-02-29", 2024, 2, 29},                                        // leap year
        {"2000-02-29", 2000, 2, 29},                                        // divisible by 400
        {"2024-01-05T07:30", 2024, 1, 5}, {"2024-01-05 07:30", 2024, 1, 5}, // openScale's space
        {"2024-01-05T23:59:60Z", 2024, 1, 5},                               // leap second
        {"2012-11-02T06:41:10.000Z", 2012, 11, 2},                          // Libra
        {"2022-08-11T23:30:00-05:00", 2022, 8, 11},                         // the date as written, not UTC's 08-12
        {"2022-08-11T00:30:00+0900", 2022, 8, 11}, {"16.03.2019 06:58", 2019, 3, 16},
        {"2014-02-13 6:04 Uhr", 2014, 2, 13}, // Withings in German
    };
    for (const DateCase& c : cases) {
        CsvDate date;
        EXPECT_EQ(ParseCsvDate(c.text, date), "") << c.text;
        EXPECT_EQ(date.year, c.year) << c.text;
        EXPECT_EQ(date.month, c.month) << c.text;
        EXPECT_EQ(date.day, c.day) << c.text;
    }
}

TEST(CsvValues, ImpossibleDatesAreRefusedAsNoCalendarDate)
{
    for (const char* text : {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-00-10", "2024-01-00",
             "0000-01-01", "31.06.2024"}) {
        CsvDate date;
        EXPECT_NE(ParseCsvDate(text, date).find("is not a calendar date"), std::string::npos) << text;
    }
}

TEST(CsvValues, MisshapenDatesAreRefused)
{
    for (const char* text : {"", "2024-1-05", "24-01-05", "2024-01/05", "2024-01-05x", "2024-01-05T", "2024-01-05T7:30",
             "2024-01-05T24:00", "2024-01-05T10:60", "2024-01-05T10:00:61", "2024-01-05T10:00+25:00",
             "2024-01-05T10:00Zjunk", "2024-01-05T10:00:00.", "5.1.2024", "01/05/2024", "yesterday", " 2024-01-05",
             "2024-01-05T10:00+1", "2024-01-05T10:00+123", "2024-01-05T10:00+01:3", "2024-01-05T10:00 ",
             "2024-01-05T6:04 Uhr", "2024-01-05 10:00Uhr", "2024-01-05T10:00  +01"}) {
        CsvDate date;
        EXPECT_NE(ParseCsvDate(text, date), "") << text;
    }
}

struct StampCase {
    const char* text;
    int second;
    bool utc;
};

// Every offset form real writers produce; only Z makes a time UTC, an
// offset keeps the writer's own clock.
TEST(CsvValues, TimestampsKeepTheirTimeAndWhetherTheyAreUtc)
{
    const StampCase cases[] = {
        {"2023-03-21", -1, false}, {"2023-03-21T00:00:00+01", 0, false}, // glib: %:::z
        {"2023-03-21T23:59:59-05", 86399, false}, {"2023-03-21T05:30:00+05:30", 19800, false},
        {"2023-03-21T05:30:00+0530", 19800, false},      // ISO basic
        {"2023-03-21T07:10:00.123456+01", 25800, false}, // glib with microseconds
        {"2023-03-21T07:10:00.1Z", 25800, true}, {"2023-03-21T07:10:00.123456789012Z", 25800, true},
        {"2023-03-21T07:10Z", 25800, true}, {"2023-03-21 07:10:00 +0100", 25800, false}, // Apple Health
        {"2023-03-21 07:10:00.000", 25800, false},                                       // Samsung Health
        {"2023-03-21T07:10:00+00:00", 25800, false}, // an offset of zero is still the writer's clock
    };
    for (const StampCase& c : cases) {
        CsvTimestamp stamp;
        EXPECT_EQ(ParseCsvTimestamp(c.text, stamp), "") << c.text;
        EXPECT_EQ(stamp.date.year * 10000 + stamp.date.month * 100 + stamp.date.day, 20230321) << c.text;
        EXPECT_EQ(stamp.second, c.second) << c.text;
        EXPECT_EQ(stamp.utc, c.utc) << c.text;
    }
}

TEST(CsvValues, ABadOffsetIsNamedAsTheProblem)
{
    CsvTimestamp stamp;
    for (const char* text :
        {"2023-03-21T00:00:00+1", "2023-03-21T00:00:00+25", "2023-03-21T00:00:00 CET", "2023-03-21T00:00:00+01:00:00"})
        EXPECT_EQ(ParseCsvTimestamp(text, stamp),
            "'" + std::string(text) + "' ends in an offset from UTC that is not Z, +HH, +HHMM or +HH:MM")
            << text;
    EXPECT_NE(ParseCsvTimestamp("2023-03-21T0:00:00+01", stamp).find("is not a date"), std::string::npos);
}

TEST(CsvValues, TimesOfDayOnTheirOwn)
{
    const struct {
        const char* text;
        int second;
    } good[] = {{"8:28 AM", 30480}, {"12:05 AM", 300}, {"12:30 PM", 45000}, {"9:46 pm", 78360}, {"17:08", 61680},
        {"06:19", 22740}, {"07:02:31.412", 25351}, {"0:00", 0}};
    for (const auto& c : good) {
        int second = -2;
        EXPECT_EQ(ParseCsvTimeOfDay(c.text, second), "") << c.text;
        EXPECT_EQ(second, c.second) << c.text;
    }
    for (const char* text : {"", "8", "8:5", "24:00", "13:00 PM", "0:30 AM", "8:28AM", "8:28 XM", "noon"}) {
        int second = 0;
        EXPECT_NE(ParseCsvTimeOfDay(text, second), "") << text;
    }
}

TEST(CsvValues, OffsetsInAColumnOfTheirOwn)
{
    const struct {
        const char* text;
        int minutes;
    } good[] = {{"UTC+0900", 540}, {"UTC-0430", -270}, {"GMT+01:00", 60}, {"+05:30", 330}, {"-03", -180}, {"Z", 0}};
    for (const auto& c : good) {
        int minutes = 1;
        EXPECT_EQ(ParseUtcOffset(c.text, minutes), "") << c.text;
        EXPECT_EQ(minutes, c.minutes) << c.text;
    }
    for (const char* text : {"", "UTC", "UTC+", "+9", "+2400", "UTC+0960", "JST"}) {
        int minutes = 0;
        EXPECT_NE(ParseUtcOffset(text, minutes), "") << text;
    }
}

TEST(CsvValues, WeightsAreReadExactlyAndStrictly)
{
    double weight = 0;
    EXPECT_EQ(ParseCsvWeight("80.30000000000001", false, weight), "");
    EXPECT_EQ(weight, 80.30000000000001);
    EXPECT_EQ(ParseCsvWeight("-0", false, weight), "");
    EXPECT_TRUE(std::signbit(weight));
    EXPECT_EQ(ParseCsvWeight("1e2", false, weight), "");
    EXPECT_EQ(weight, 100.0);
    EXPECT_EQ(ParseCsvWeight("5e-324", false, weight), "");
    EXPECT_EQ(weight, 5e-324);

    for (const char* text : {"", "abc", "80.5kg", "+80", "80,5", "0x10", "80 5", ".", "1e"})
        EXPECT_NE(ParseCsvWeight(text, false, weight), "") << text;
    for (const char* text : {"inf", "-inf", "nan", "infinity"})
        EXPECT_NE(ParseCsvWeight(text, false, weight).find("finite"), std::string::npos) << text;
    EXPECT_NE(ParseCsvWeight("1e999", false, weight), "");
    EXPECT_EQ(ParseCsvWeight("", false, weight), "no weight");
}

TEST(CsvValues, DecimalCommaOnlyWhenAllowedAndUnambiguous)
{
    double weight = 0;
    EXPECT_EQ(ParseCsvWeight("72,5", true, weight), "");
    EXPECT_EQ(weight, 72.5);
    EXPECT_EQ(ParseCsvWeight("72.25", true, weight), "");
    EXPECT_EQ(weight, 72.25);
    EXPECT_NE(ParseCsvWeight("1,072.5", true, weight), "");
    EXPECT_NE(ParseCsvWeight("1,0,7", true, weight), "");
    EXPECT_NE(ParseCsvWeight("72,5", false, weight), "");
}

} // namespace
