#pragma once

#include "phone/day_entry.h"
#include "platform/result.h"

#include <string>
#include <string_view>

// The body of POST /api/entries, {"date":"YYYY-MM-DD","weight":65.4}, read
// by the form's rules; the failure is the API's English sentence.
Result<DayWeight, std::string> ReadEntryJson(std::string_view body);
