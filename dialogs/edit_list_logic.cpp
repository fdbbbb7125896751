#include "dialogs/edit_list_logic.h"

#include "diary/tarelog_doc.h"
#include "platform/format.h"

#include <algorithm>
#include <cmath>

std::string EditListLineText(const WeightRecord& record)
{
    return FormatString(" %04d/%02d/%02d  %5.1f", record.year, record.month, record.day, record.weight);
}

std::string EditListWeightText(double weight)
{
    return FormatString("%5.1f", weight);
}

RecordUpdate UpdateListRecord(CTarelogDoc& doc, int index, std::string_view weightText, CalendarDate date)
{
    // Reads go through the const document: the writable GetRecord counts as
    // a change and would make the window draw the whole diary again.
    const CTarelogDoc& reading = doc;
    WeightRecord record = reading.GetRecord(index);
    const std::uint32_t oldKey = record.DateKey();
    // "nan", "inf" and overflowing exponents read as numbers, but a weight
    // that is not finite breaks every scale computed from the diary.
    double weight = 0.0;
    if (!ReadLeadingDouble(weightText, weight) || !std::isfinite(weight))
        return RecordUpdate::NotANumber;
    record.weight = weight;
    record.year = static_cast<std::int16_t>(date.Year());
    record.month = static_cast<std::int16_t>(date.Month());
    record.day = static_cast<std::int16_t>(date.Day());
    const std::uint32_t newKey = record.DateKey();

    if (newKey == oldKey) {
        doc.GetRecord(index) = record;
        doc.SetModifiedFlag(true);
        return RecordUpdate::Updated;
    }
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        if (i != index && reading.GetRecord(i).DateKey() == newKey)
            return RecordUpdate::DateTaken;

    // The record goes before the first later date among the others, the
    // place the document's own insert would give it; the records between its
    // old and new place shift by one.
    const std::vector<WeightRecord>& records = doc.Records();
    int position = 0;
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        if (i != index && records[static_cast<std::size_t>(i)].DateKey() <= newKey)
            ++position;
    doc.GetRecord(index) = record;
    WeightRecord* first = &doc.GetRecord(0);
    if (position <= index)
        std::rotate(first + position, first + index, first + index + 1);
    else
        std::rotate(first + index, first + index + 1, first + position + 1);
    doc.SetModifiedFlag(true);
    return RecordUpdate::Updated;
}

void DeleteListRecord(CTarelogDoc& doc, int index)
{
    doc.RemoveRecord(index);
    doc.SetModifiedFlag(true);
}
