#include "view/shown_records.h"

#include "diary/diary_stats.h"
#include "view/record_days.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

bool InDateOrder(std::span<const WeightRecord> records, std::int64_t& latest)
{
    RecordDays days;
    bool ordered = true;
    std::int64_t previous = INT64_MIN;
    for (const WeightRecord& record : records) {
        const std::int64_t day = days.Of(record);
        ordered = ordered && day >= previous;
        previous = std::max(previous, day);
    }
    latest = previous;
    return ordered;
}

} // namespace

bool RecordsInDateOrder(std::span<const WeightRecord> records)
{
    std::int64_t latest = 0;
    return InDateOrder(records, latest);
}

ShownRecords::ShownRecords(const CTarelogDoc& doc, int rangeDays)
    : m_records(doc.Records())
{
    const std::vector<WeightRecord>& all = doc.Records();
    if (rangeDays <= 0 || all.empty())
        return;
    std::int64_t latest = 0;
    const bool ordered = InDateOrder(all, latest);
    Cut(all, latest - rangeDays + 1, latest, ordered);
}

ShownRecords::ShownRecords(const CTarelogDoc& doc, DaySpan days)
    : m_records(doc.Records())
{
    const std::vector<WeightRecord>& all = doc.Records();
    std::int64_t latest = 0;
    Cut(all, days.first, days.last, InDateOrder(all, latest));
}

void ShownRecords::Cut(const std::vector<WeightRecord>& all, std::int64_t from, std::int64_t to, bool ordered)
{
    RecordDays days;
    if (ordered) {
        // A range is a tail: walked from the end, it costs only its own
        // records.
        std::size_t end = all.size();
        while (end > 0 && days.Of(all[end - 1]) > to)
            --end;
        std::size_t first = end;
        while (first > 0 && days.Of(all[first - 1]) >= from)
            --first;
        m_first = first;
        m_records = std::span<const WeightRecord>(all).subspan(first, end - first);
        return;
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::int64_t day = days.Of(all[i]);
        if (day >= from && day <= to) {
            m_gathered.push_back(all[i]);
            m_indexes.push_back(i);
        }
    }
    m_records = m_gathered;
}

namespace {

// The walk of a diary in date order: every record's trend, in index order.
// False, with `result` unfinished, as soon as a record is dated before the
// one before it.
bool WalkInOrder(const std::vector<WeightRecord>& all, std::size_t firstShown, std::vector<double>& result)
{
    RecordDays days;
    std::int64_t previous = days.Of(all[0]);
    double trend = all[0].weight;
    if (firstShown == 0 && !result.empty())
        result[0] = trend;
    for (std::size_t i = 1; i < all.size(); ++i) {
        const std::int64_t day = days.Of(all[i]);
        if (day < previous)
            return false;
        previous = day;
        trend = NextTrend(trend, all[i].weight);
        // A zoom shows a middle part; the walk goes on to the end only to
        // learn whether the diary is in order.
        if (i >= firstShown && i - firstShown < result.size())
            result[i - firstShown] = trend;
    }
    return true;
}

} // namespace

std::vector<double> ShownTrend(const CTarelogDoc& doc, const ShownRecords& shown)
{
    const std::vector<WeightRecord>& all = doc.Records();
    std::vector<double> result(shown.Records().size());
    if (all.empty() || result.empty())
        return result;
    // A diary in date order (nearly every one) shows a tail, whose trends
    // come straight out of one walk.
    if (WalkInOrder(all, shown.DiaryIndex(0), result))
        return result;
    std::vector<std::int64_t> day(all.size());
    RecordDays days;
    for (std::size_t i = 0; i < all.size(); ++i)
        day[i] = days.Of(all[i]);
    std::vector<std::size_t> order(all.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&day](std::size_t a, std::size_t b) { return day[a] < day[b]; });
    std::vector<double> byIndex(all.size());
    double trend = all[order[0]].weight;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0)
            trend = NextTrend(trend, all[order[k]].weight);
        byIndex[order[k]] = trend;
    }
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = byIndex[shown.DiaryIndex(i)];
    return result;
}
