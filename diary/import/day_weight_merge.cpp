#include "diary/import/day_weight_merge.h"

#include <algorithm>

namespace {

std::uint32_t KeyOf(const DayWeight& row)
{
    return WeightRecord::MakeDateKey(row.year, row.month, row.day);
}

WeightRecord NewRecord(const DayWeight& row)
{
    return WeightRecord{row.weight, static_cast<std::int16_t>(row.year), static_cast<std::int16_t>(row.month),
        static_cast<std::int16_t>(row.day), {0, 0}};
}

// Sorts by day and keeps, of each day, the row that comes last in the
// input, as the last of several SetDayWeight calls for one day wins.
std::size_t SortLastOfEachDay(std::vector<DayWeight>& rows)
{
    auto byKey = [](const DayWeight& a, const DayWeight& b) { return KeyOf(a) < KeyOf(b); };
    if (!std::is_sorted(rows.begin(), rows.end(), byKey))
        std::stable_sort(rows.begin(), rows.end(), byKey);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + 1 < rows.size() && KeyOf(rows[i + 1]) == KeyOf(rows[i]))
            continue;
        rows[kept++] = rows[i];
    }
    const std::size_t superseded = rows.size() - kept;
    rows.resize(kept);
    return superseded;
}

bool StrictlyAscending(const std::vector<WeightRecord>& records)
{
    return std::adjacent_find(records.begin(), records.end(), [](const WeightRecord& a, const WeightRecord& b) {
        return a.DateKey() >= b.DateKey();
    }) == records.end();
}

} // namespace

MergeCounts MergeDayWeights(CTarelogDoc& doc, std::vector<DayWeight> rows)
{
    MergeCounts counts;
    counts.diaryInDateOrder = StrictlyAscending(doc.Records());
    if (rows.empty())
        return counts;
    counts.superseded = SortLastOfEachDay(rows);

    std::vector<WeightRecord> merged;
    merged.reserve(doc.Records().size() + rows.size());
    std::size_t next = 0;
    for (WeightRecord record : doc.Records()) {
        const std::uint32_t key = record.DateKey();
        for (; next < rows.size() && KeyOf(rows[next]) < key; ++next, ++counts.added)
            merged.push_back(NewRecord(rows[next]));
        if (next < rows.size() && KeyOf(rows[next]) == key) {
            record.weight = rows[next++].weight;
            ++counts.replaced;
        }
        merged.push_back(record);
    }
    for (; next < rows.size(); ++next, ++counts.added)
        merged.push_back(NewRecord(rows[next]));

    doc.RemoveAllRecords();
    doc.ReserveRecords(merged.size());
    for (const WeightRecord& record : merged)
        doc.AppendRecord(record);
    doc.UpdateAllViews(nullptr, 0);
    doc.SetModifiedFlag(true);
    return counts;
}
