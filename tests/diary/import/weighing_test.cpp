#include "diary/import/weighing.h"

#include "csv_test_support.h"

#include <gtest/gtest.h>

namespace {

Weighing At(int day, int second, double weight)
{
    return Weighing{{2024, 3, day}, second, weight, WeightUnit::Kilogram};
}

struct ChoiceCase {
    const char* name;
    std::vector<Weighing> weighings;
    KeepRule rule;
    std::vector<double> kept; // the weight kept for each day, in date order
    std::size_t superseded;
};

TEST(ChooseOnePerDay, ByTimeOfDayWhateverTheFileOrder)
{
    const ChoiceCase cases[] = {
        {"oldest first, latest", {At(1, 25000, 80), At(1, 70000, 81), At(2, 26000, 79)}, KeepRule::Latest, {81, 79}, 1},
        {"newest first, latest", {At(2, 26000, 79), At(1, 70000, 81), At(1, 25000, 80)}, KeepRule::Latest, {81, 79}, 1},
        {"newest first, earliest", {At(2, 26000, 79), At(1, 70000, 81), At(1, 25000, 80)}, KeepRule::Earliest, {80, 79},
            1},
        {"oldest first, earliest", {At(1, 25000, 80), At(1, 70000, 81)}, KeepRule::Earliest, {80}, 1},
        {"same time: last in file", {At(1, 25000, 80), At(1, 25000, 82), At(1, 1000, 70)}, KeepRule::Latest, {82}, 2},
        {"same earliest time: last in file", {At(1, 25000, 80), At(1, 25000, 82), At(1, 90000 / 2, 70)},
            KeepRule::Earliest, {82}, 2},
        {"no times: last in file", {At(1, -1, 80), At(1, -1, 81), At(1, -1, 79)}, KeepRule::Latest, {79}, 2},
        {"days out of order", {At(9, 1, 9), At(3, 1, 3), At(5, 1, 5)}, KeepRule::Latest, {3, 5, 9}, 0},
        {"nothing", {}, KeepRule::Latest, {}, 0},
    };
    for (const ChoiceCase& c : cases) {
        const DailyChoice choice = ChooseOnePerDay(c.weighings, c.rule);
        ASSERT_EQ(choice.days.size(), c.kept.size()) << c.name;
        for (std::size_t i = 0; i < c.kept.size(); ++i)
            EXPECT_EQ(choice.days[i].weight, c.kept[i]) << c.name << " day " << i;
        for (std::size_t i = 1; i < choice.days.size(); ++i)
            EXPECT_LT(choice.days[i - 1].day, choice.days[i].day) << c.name;
        EXPECT_EQ(choice.superseded, c.superseded) << c.name;
    }
}

struct ZoneCase {
    const char* zone;
    const char* stamp;
    int date; // YYYYMMDD
    int second;
};

// A UTC time lands on the importing person's day; a time with an offset
// stays on the writer's.
TEST(LocalDayOf, UtcTimesMoveToTheLocalDayOthersStay)
{
    const ZoneCase cases[] = {
        {"Asia/Tokyo", "2024-05-01T22:05:13.000Z", 20240502, 7 * 3600 + 5 * 60 + 13}, // Libra, a morning in Japan
        {"America/New_York", "2024-05-02T02:00:00Z", 20240501, 22 * 3600},            // EDT, the evening before
        {"America/New_York", "2024-01-02T02:00:00Z", 20240101, 21 * 3600},            // EST
        {"Europe/London", "2024-12-31T23:30:00Z", 20241231, 23 * 3600 + 1800},
        {"Pacific/Kiritimati", "2024-02-28T11:00:00Z", 20240229, 3600}, // +14, into a leap day
        {"Asia/Tokyo", "2024-05-01T22:05:13-05", 20240501, 22 * 3600 + 5 * 60 + 13},
        {"Asia/Tokyo", "2024-05-01", 20240501, -1},
    };
    for (const ZoneCase& c : cases) {
        const ScopedTimeZone zone(c.zone);
        CsvTimestamp stamp;
        ASSERT_EQ(ParseCsvTimestamp(c.stamp, stamp), "") << c.stamp;
        CsvDate date;
        int second = 0;
        LocalDayOf(stamp, date, second);
        EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, c.date) << c.zone << " " << c.stamp;
        EXPECT_EQ(second, c.second) << c.zone << " " << c.stamp;
    }
}

TEST(ShiftByMinutes, CrossesDaysMonthsAndYears)
{
    const struct {
        CsvDate from;
        int second, minutes;
        int date, after;
    } cases[] = {
        {{2019, 5, 20}, 22 * 3600 + 1800, 540, 20190521, 7 * 3600 + 1800},
        {{2019, 12, 31}, 23 * 3600, 120, 20200101, 3600},
        {{2024, 3, 1}, 3600, -180, 20240229, 22 * 3600},
        {{2024, 1, 1}, 0, -1, 20231231, 86340},
    };
    for (const auto& c : cases) {
        CsvDate date = c.from;
        int second = c.second;
        ShiftByMinutes(date, second, c.minutes);
        EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, c.date);
        EXPECT_EQ(second, c.after);
    }
}

} // namespace
