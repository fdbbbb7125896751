#pragma once

#include "diary/diary_stats.h"
#include "platform/calendar_date.h"

#include <algorithm>
#include <vector>

// The figures as the program first computed them, kept as the yardstick of
// the streaming computation: every record dated, the whole list sorted by
// day, the trend stored at each record and the look-backs found by binary
// search. The trend step is NextTrend, so that a NaN trend compares to the bit.
inline DiaryStats ReferenceDiaryStats(const std::vector<WeightRecord>& records)
{
    struct Dated {
        std::int64_t dayNumber;
        const WeightRecord* record;
        double trend;
    };
    DiaryStats stats;
    stats.entries = records.size();
    if (records.empty())
        return stats;
    std::vector<Dated> dated;
    for (const WeightRecord& r : records)
        dated.push_back({CalendarDate::FromYmd(r.year, r.month, r.day).DayNumber(), &r, 0.0});
    std::stable_sort(dated.begin(), dated.end(),
        [](const Dated& a, const Dated& b) { return a.dayNumber < b.dayNumber; });
    double trend = 0.0;
    bool started = false;
    stats.lowest = stats.highest = *dated.front().record;
    for (std::size_t i = 0; i < dated.size(); ++i) {
        const double weight = dated[i].record->weight;
        if (i + 1 == dated.size() || dated[i + 1].dayNumber != dated[i].dayNumber) {
            trend = started ? NextTrend(trend, weight) : weight;
            started = true;
        }
        dated[i].trend = trend;
        if (weight < stats.lowest.weight)
            stats.lowest = *dated[i].record;
        if (weight > stats.highest.weight)
            stats.highest = *dated[i].record;
    }
    const auto latestOnOrBefore = [&dated](std::int64_t day) -> const Dated* {
        const auto after = std::upper_bound(dated.begin(), dated.end(), day,
            [](std::int64_t d, const Dated& e) { return d < e.dayNumber; });
        return after == dated.begin() ? nullptr : &*(after - 1);
    };
    const Dated& last = dated.back();
    stats.first = *dated.front().record;
    stats.last = *last.record;
    stats.trend = trend;
    if (const Dated* week = latestOnOrBefore(last.dayNumber - 7)) {
        stats.change7 = last.record->weight - week->record->weight;
        stats.trendPerWeek = (trend - week->trend) * 7.0 / static_cast<double>(last.dayNumber - week->dayNumber);
    }
    if (const Dated* month = latestOnOrBefore(last.dayNumber - 30))
        stats.change30 = last.record->weight - month->record->weight;
    return stats;
}
