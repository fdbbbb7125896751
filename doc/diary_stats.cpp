#include "doc/diary_stats.h"

#include "platform/calendar_date.h"

#include <algorithm>

namespace {

std::int64_t DayNumberOf(const WeightRecord& record)
{
    return CalendarDate::FromYmd(record.year, record.month, record.day).DayNumber();
}

struct DatedRecord {
    std::int64_t dayNumber;
    const WeightRecord* record;
    double trend;
};

// The latest entry on or before `dayNumber`, or none.
const DatedRecord* LatestOnOrBefore(const std::vector<DatedRecord>& dated, std::int64_t dayNumber)
{
    const auto after = std::upper_bound(dated.begin(), dated.end(), dayNumber,
        [](std::int64_t day, const DatedRecord& entry) { return day < entry.dayNumber; });
    return after == dated.begin() ? nullptr : &*(after - 1);
}

std::optional<double> ChangeOver(const std::vector<DatedRecord>& dated, int days)
{
    const DatedRecord* before = LatestOnOrBefore(dated, dated.back().dayNumber - days);
    if (before == nullptr)
        return std::nullopt;
    return dated.back().record->weight - before->record->weight;
}

} // namespace

DiaryStats ComputeDiaryStats(const std::vector<WeightRecord>& records)
{
    DiaryStats stats;
    stats.entries = records.size();
    if (records.empty())
        return stats;

    // Sorted by day number rather than by date key, so that records whose
    // fields roll over (month 13) still sit where their days are.
    std::vector<DatedRecord> dated;
    dated.reserve(records.size());
    for (const WeightRecord& record : records)
        dated.push_back({DayNumberOf(record), &record, 0.0});
    std::stable_sort(dated.begin(), dated.end(),
        [](const DatedRecord& a, const DatedRecord& b) { return a.dayNumber < b.dayNumber; });

    double trend = 0.0;
    bool started = false;
    stats.lowest = stats.highest = *dated.front().record;
    for (std::size_t i = 0; i < dated.size(); ++i) {
        DatedRecord& entry = dated[i];
        const double weight = entry.record->weight;
        // A day recorded twice moves the trend once, with its last weight.
        const bool lastOfItsDay = i + 1 == dated.size() || dated[i + 1].dayNumber != entry.dayNumber;
        if (lastOfItsDay) {
            trend = started ? trend + kTrendSmoothing * (weight - trend) : weight;
            started = true;
        }
        entry.trend = trend;
        if (weight < stats.lowest.weight)
            stats.lowest = *entry.record;
        if (weight > stats.highest.weight)
            stats.highest = *entry.record;
    }
    stats.first = *dated.front().record;
    stats.last = *dated.back().record;
    stats.trend = trend;
    stats.change7 = ChangeOver(dated, 7);
    stats.change30 = ChangeOver(dated, 30);
    const DatedRecord* weekBefore = LatestOnOrBefore(dated, dated.back().dayNumber - 7);
    if (weekBefore != nullptr) {
        const double days = static_cast<double>(dated.back().dayNumber - weekBefore->dayNumber);
        stats.trendPerWeek = (trend - weekBefore->trend) * 7.0 / days;
    }
    return stats;
}
