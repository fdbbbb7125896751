// The phone page's readers of what a request brings, on arbitrary bytes:
// the form body, the API's JSON, the path and the cookie header. They may
// refuse anything, never crash, and what they accept is a real day within
// the entry dialog's years and a finite weight above zero.
#include "phone/entry_json.h"
#include "phone/form_fields.h"
#include "phone/request_checks.h"
#include "platform/calendar_date.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

void CheckEntry(const DayWeight& entry)
{
    if (!IsRealDate(entry.year, entry.month, entry.day) || entry.year < kFirstEntryYear || entry.year > kLastEntryYear)
        __builtin_trap();
}

void CheckWeight(double weight)
{
    if (!std::isfinite(weight) || weight <= 0.0)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<FormFields> form = FormFields::Parse(text)) {
        DayWeight entry;
        if (ReadEntryDate(form->Get("date"), entry) == EntryProblem::None)
            CheckEntry(entry);
        double weight = 0.0;
        if (ReadEntryWeight(form->Get("weight"), weight) == EntryProblem::None)
            CheckWeight(weight);
    }
    if (const Result<DayWeight, std::string> entry = ReadEntryJson(text)) {
        CheckEntry(*entry);
        CheckWeight(entry->weight);
    }
    // A path let through names no folder above the root.
    if (!IsSuspectPath(text) && (text.find("..") != std::string::npos || text.find('%') != std::string::npos))
        __builtin_trap();
    (void)CookieValue(text, kDeviceCookie);
    return 0;
}
