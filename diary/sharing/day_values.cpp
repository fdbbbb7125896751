#include "diary/sharing/day_values.h"

#include "platform/fnv_hash.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

DayKey KeyOf(const WeightRecord& record)
{
    return {record.year, record.month, record.day};
}

Days GroupByDay(const std::vector<WeightRecord>& records)
{
    Days days;
    for (const WeightRecord& record : records)
        days[KeyOf(record)].push_back(record);
    return days;
}

bool SameRecords(const DayRecords& a, const DayRecords& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(WeightRecord)) == 0);
}

const DayRecords& RecordsOf(const Days& days, const DayKey& key)
{
    static const DayRecords kNone;
    const auto it = days.find(key);
    return it == days.end() ? kNone : it->second;
}

DayDigest DigestOf(const DayRecords& records)
{
    if (records.empty())
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WeightRecord));
    const std::uint64_t digest = Fnv1a(bytes);
    return digest == 0 ? 1 : digest;
}

std::vector<WeightRecord> ReplaceDays(const std::vector<WeightRecord>& records, const Days& replacements)
{
    std::vector<WeightRecord> out;
    out.reserve(records.size() + replacements.size());
    std::set<DayKey> placed;
    for (const WeightRecord& record : records) {
        const DayKey key = KeyOf(record);
        const auto replacement = replacements.find(key);
        if (replacement == replacements.end())
            out.push_back(record);
        else if (placed.insert(key).second)
            out.insert(out.end(), replacement->second.begin(), replacement->second.end());
    }
    for (const auto& [key, added] : replacements) {
        if (placed.count(key) || added.empty())
            continue;
        const std::uint32_t dateKey = added.front().DateKey();
        const auto at = std::find_if(out.begin(), out.end(),
            [&](const WeightRecord& r) { return r.DateKey() > dateKey; });
        out.insert(at, added.begin(), added.end());
    }
    return out;
}
