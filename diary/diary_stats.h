#pragma once

#include "diary/weight_record.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

// Summary figures of a diary. They are taken over the records in date
// order (records of one day keep their document order), so an unordered
// diary gives the same figures as the sorted one.
struct DiaryStats {
    std::size_t entries = 0;
    // The rest is meaningful only when entries > 0.
    WeightRecord first;   // the earliest record
    WeightRecord last;    // the latest record; its weight is the latest weight
    WeightRecord lowest;  // the first record with the lowest weight
    WeightRecord highest; // the first record with the highest weight
    // Latest weight minus the weight of the latest record on or before the
    // last date minus 7 (30) days; none when no record is that old.
    std::optional<double> change7;
    std::optional<double> change30;
    // Exponentially smoothed weight: the first day's weight, then each day
    // with a record moves it 10% of the way toward that day's weight (the
    // last record of the day); days without a record are skipped.
    double trend = 0.0;
    // (trend at the last record - trend at the latest record on or before
    // the last date minus 7 days) * 7 / the days between those two records;
    // none when no record is that old.
    std::optional<double> trendPerWeek;
    // How fast the trend moves lately, per day: the least-squares slope of
    // the trend after each recorded day against its day number, over the
    // days of the last 14 (the last date and the 13 before it); none with
    // fewer than two such days.
    std::optional<double> trendSlope;
};

// The days the recent slope of the trend is taken over.
constexpr int kTrendSlopeDays = 14;

constexpr double kTrendSmoothing = 0.1;

// The trend after a day whose last weight is `weight`: trend + 0.1 * (weight - trend).
// A trend that is already NaN stays that NaN whatever the weight, so that
// the sign a printed "nan" shows does not depend on the order in which a
// compiler happens to add the two terms.
// Inline: the graph's trend line calls it once per record.
inline double NextTrend(double trend, double weight)
{
    if (std::isnan(trend))
        return trend + trend; // the same NaN, quieted as any arithmetic leaves it
    return trend + kTrendSmoothing * (weight - trend);
}

// The figures of records in any order. Sorting costs 8 bytes a record
// beside the records; records already in date order can be given one at a
// time to a DiaryStatsAccumulator instead, which costs nothing per record.
DiaryStats ComputeDiaryStats(const std::vector<WeightRecord>& records);
