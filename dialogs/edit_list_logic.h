#pragma once

#include "platform/calendar_date.h"

#include <string>
#include <string_view>

class CTarelogDoc;
struct WeightRecord;

// What the entry list editor does to the document, without its controls.
// Lines show records by index; every change applies at once and marks the
// document modified.

// " 2001/05/03   65.3": date and the weight with one decimal.
std::string EditListLineText(const WeightRecord& record);
// The weight as the edit field shows it ("%5.1f").
std::string EditListWeightText(double weight);

enum class RecordUpdate {
    Updated,
    DateTaken,  // another record holds the new date; nothing changed
    NotANumber, // the weight text does not start with a finite number; nothing changed
};

// Stores the leading number of `weightText` ("65.5kg" gives 65.5) and
// `date` into record `index`. Text without a leading finite number is
// refused rather than stored as 0.0: a typo must not wipe out a day's
// weight. A record whose date changes moves to its date position, so the
// diary stays in date order; it is refused when another record already has
// that day, so no weight is lost.
RecordUpdate UpdateListRecord(CTarelogDoc& doc, int index, std::string_view weightText, CalendarDate date);

// Removes record `index` (the later ones move down by one).
void DeleteListRecord(CTarelogDoc& doc, int index);
