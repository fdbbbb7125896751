#include "diary/tarelog_doc.h"

#include "platform/calendar_date.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

std::atomic<std::uint64_t> g_lastRevision{0};

} // namespace

CTarelogDoc::CTarelogDoc()
{
    Changed();
}

void CTarelogDoc::Changed()
{
    m_revision = g_lastRevision.fetch_add(1, std::memory_order_relaxed) + 1;
}

CTarelogDoc::~CTarelogDoc()
{
    RemoveAllRecords();
}

void CTarelogDoc::SetDayWeight(double weight, int year, int month, int day)
{
    const std::uint32_t key = WeightRecord::MakeDateKey(year, month, day);
    auto it = m_records.begin();
    for (; it != m_records.end(); ++it) {
        const std::uint32_t recordKey = it->DateKey();
        if (recordKey == key) {
            it->weight = weight;
            break;
        }
        if (recordKey > key) {
            it = m_records.insert(it,
                WeightRecord{weight, static_cast<std::int16_t>(year), static_cast<std::int16_t>(month),
                    static_cast<std::int16_t>(day), {0, 0}});
            break;
        }
    }
    if (it == m_records.end())
        m_records.push_back(WeightRecord{weight, static_cast<std::int16_t>(year), static_cast<std::int16_t>(month),
            static_cast<std::int16_t>(day), {0, 0}});
    Changed();
    UpdateAllViews(nullptr, 0);
    SetModifiedFlag(true);
}

double CTarelogDoc::GetLastWeight() const
{
    return m_records.empty() ? 0.0 : m_records.back().weight;
}

double CTarelogDoc::GetMaxWeight() const
{
    return GetWeightRange().max;
}

double CTarelogDoc::GetMinWeight() const
{
    return GetWeightRange().min;
}

// NaN weights fail every comparison and so never become either end.
CTarelogDoc::WeightRange CTarelogDoc::GetWeightRange() const
{
    return WeightRangeOf(m_records);
}

CTarelogDoc::WeightRange WeightRangeOf(std::span<const WeightRecord> records)
{
    CTarelogDoc::WeightRange range{50000.0, -50000.0};
    for (const WeightRecord& r : records) {
        if (r.weight < range.min)
            range.min = r.weight;
        if (r.weight != 0.0 && r.weight > range.max)
            range.max = r.weight;
    }
    return range;
}

int DaysBetweenRecords(const WeightRecord& from, const WeightRecord& to)
{
    const std::int64_t days = DaysBetween(CalendarDate::FromYmd(from.year, from.month, from.day),
        CalendarDate::FromYmd(to.year, to.month, to.day));
    return static_cast<int>(
        std::clamp<std::int64_t>(days, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int CTarelogDoc::GetDaySpan() const
{
    return DaySpanOf(m_records);
}

int DaySpanOf(std::span<const WeightRecord> records)
{
    if (records.size() < 2)
        return 1;
    return DaysBetweenRecords(records.front(), records.back());
}

int CTarelogDoc::GetDayOffset(int index) const
{
    return DaysBetweenRecords(m_records.front(), GetRecord(index));
}

void CTarelogDoc::RemoveRecord(int index)
{
    m_records.erase(m_records.begin() + index);
    Changed();
}

void CTarelogDoc::AppendRecord(const WeightRecord& record)
{
    m_records.push_back(record);
    Changed();
}

void CTarelogDoc::RemoveAllRecords()
{
    m_records.clear();
    m_records.shrink_to_fit();
    Changed();
}

bool CTarelogDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    RemoveAllRecords();
    return true;
}
