#include "diary/diary_stats.h"

#include "diary/diary_stats_accumulator.h"
#include "platform/calendar_date.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Day number in the high half, position in the low half: sorting the keys
// orders records by day (not by date key, so that fields that roll over,
// month 13, sit where their days are) and keeps one day's records in their
// order. Any date the 16-bit fields can hold lies within some fourteen
// million days of 1970, so the day number fits the 32 bits it is given;
// a file holds fewer than 2^31 records.
std::uint64_t SortKey(const WeightRecord& record, std::size_t index)
{
    const std::int64_t day = CalendarDate::FromYmd(record.year, record.month, record.day).DayNumber();
    const auto biased = static_cast<std::uint32_t>(static_cast<std::int32_t>(day)) ^ 0x80000000u;
    return (static_cast<std::uint64_t>(biased) << 32) | static_cast<std::uint32_t>(index);
}

} // namespace

DiaryStats ComputeDiaryStats(const std::vector<WeightRecord>& records)
{
    // Records already in date order are the sorted order itself.
    DiaryStatsAccumulator inOrder;
    bool ordered = true;
    for (const WeightRecord& record : records)
        if (!(ordered = inOrder.Add(record)))
            break;
    if (ordered)
        return inOrder.Result();
    std::vector<std::uint64_t> keys(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        keys[i] = SortKey(records[i], i);
    std::sort(keys.begin(), keys.end());
    DiaryStatsAccumulator accumulator;
    for (const std::uint64_t key : keys)
        accumulator.Add(records[static_cast<std::uint32_t>(key)]);
    return accumulator.Result();
}
