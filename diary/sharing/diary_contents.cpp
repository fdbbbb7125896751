#include "diary/sharing/diary_contents.h"

#include <cstring>

namespace {

bool SameRecords(const std::vector<WeightRecord>& a, const std::vector<WeightRecord>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(WeightRecord)) == 0);
}

} // namespace

DiaryContents DiaryContents::Of(const CTarelogDoc& doc)
{
    return DiaryContents{doc.Records(), doc.m_unit, doc.m_digits};
}

void DiaryContents::ApplyTo(CTarelogDoc& doc) const
{
    CTarelogDoc scratch;
    scratch.ReserveRecords(records.size());
    for (const WeightRecord& record : records)
        scratch.AppendRecord(record);
    scratch.m_unit = unit;
    scratch.m_digits = digits;
    doc.TakeContents(scratch);
}

bool DiaryContents::operator==(const DiaryContents& other) const
{
    return SameRecords(records, other.records) && unit == other.unit && digits == other.digits;
}
