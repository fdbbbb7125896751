#pragma once

#include "diary/import/weight_import.h"

#include <string_view>

// Days from text a person pasted: anything ReadWeightImport recognises
// (an export copied whole, with its header), or else lines of a date and a
// weight as spreadsheets, chats and this program's copy write them, without
// a header: the two separated by a tab, a semicolon, a comma or blanks.
// Further fields on a line are left out (a spreadsheet's next columns); a
// line whose first two fields are no date and weight is an unreadable row,
// with its own line number. A weight may have a decimal comma unless the
// comma separates the fields; dates are read as imports read them, and
// YYYY/M/D (a spreadsheet's short date) too.
Result<WeightImport, ImportError> ReadPastedWeights(std::string_view text);
