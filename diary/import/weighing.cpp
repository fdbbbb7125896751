#include "diary/import/weighing.h"

#include "platform/calendar_date.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

std::uint32_t DayKey(const Weighing& w)
{
    return WeightRecord::MakeDateKey(w.date.year, w.date.month, w.date.day);
}

CsvDate DateOfDayNumber(std::int64_t dayNumber)
{
    const CalendarDate date = CalendarDate::FromYmd(1970, 1, 1 + static_cast<int>(dayNumber));
    return CsvDate{date.Year(), date.Month(), date.Day()};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

void ShiftByMinutes(CsvDate& date, int& second, int minutes)
{
    const std::int64_t day = CalendarDate::FromYmd(date.year, date.month, date.day).DayNumber();
    const std::int64_t moment = day * kSecondsPerDay + std::max(second, 0) + std::int64_t{minutes} * 60;
    const std::int64_t newDay = FloorDiv(moment, kSecondsPerDay);
    date = DateOfDayNumber(newDay);
    second = static_cast<int>(moment - newDay * kSecondsPerDay);
}

void LocalDayOf(const CsvTimestamp& stamp, CsvDate& date, int& second)
{
    date = stamp.date;
    second = stamp.second;
    if (!stamp.utc)
        return;
    const std::int64_t day = CalendarDate::FromYmd(date.year, date.month, date.day).DayNumber();
    const std::time_t moment = static_cast<std::time_t>(day * kSecondsPerDay + std::max(second, 0));
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr)
        return;
    date = CsvDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    second = local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59);
}

DailyChoice ChooseOnePerDay(std::vector<Weighing> weighings, KeepRule rule)
{
    // Sorting by day and time keeps the file order among equal times, so the
    // last weighing of the chosen time is the one to keep.
    const auto earlier = [](const Weighing& a, const Weighing& b) {
        return DayKey(a) != DayKey(b) ? DayKey(a) < DayKey(b) : a.second < b.second;
    };
    // Newest-first exports are common: strictly descending is reversed in
    // one pass (with no equal times, file order among them cannot matter).
    const auto later = [&](const Weighing& a, const Weighing& b) { return earlier(b, a); };
    if (std::adjacent_find(weighings.begin(), weighings.end(),
            [&](const Weighing& a, const Weighing& b) { return !later(a, b); })
        == weighings.end())
        std::reverse(weighings.begin(), weighings.end());
    else if (!std::is_sorted(weighings.begin(), weighings.end(), earlier))
        std::stable_sort(weighings.begin(), weighings.end(), earlier);
    DailyChoice choice;
    choice.days.reserve(weighings.size());
    for (std::size_t first = 0; first < weighings.size();) {
        std::size_t end = first;
        while (end < weighings.size() && DayKey(weighings[end]) == DayKey(weighings[first]))
            ++end;
        std::size_t pick = end - 1;
        if (rule == KeepRule::Earliest) {
            pick = first;
            while (pick + 1 < end && weighings[pick + 1].second == weighings[first].second)
                ++pick;
        }
        const Weighing& kept = weighings[pick];
        choice.days.push_back(DayWeight{kept.weight, kept.date.year, kept.date.month, kept.date.day});
        choice.superseded += end - first - 1;
        first = end;
    }
    return choice;
}
