#pragma once

#include <string>

class CTarelogDoc;

// The days a graph of the last `rangeDays` days shows (ShownRecords), as
// text that pastes into a spreadsheet or a chat: one line
// "YYYY-MM-DD<TAB>weight\n" per record in the diary's order, the weight
// with the diary's decimal digits (as the scale labels bound them).
std::string ShownDaysText(const CTarelogDoc& doc, int rangeDays);
