#pragma once

#include "doc/day_weight_merge.h"

#include <string>
#include <string_view>
#include <vector>

// The spreadsheet and weight-tracker layouts an import understands. Auto
// recognises each from its header.
enum class CsvLayout {
    Auto,
    Tarelog,      // date,weight (also with ';'), plain dates
    OpenScale,    // "dateTime" and "weight" columns (v2), or DATE, TIME, ..., WEIGHT (v3)
    Libra,        // #Version, #Units, then #date;weight;weight trend;...
    Health,       // date,weight with RFC 3339 timestamps
    TrendWeight,  // Date, Actual Weight, ...; rows marked interpolated are left out
};

const char* CsvLayoutName(CsvLayout layout);
// False for a name that is none of auto, tarelog, openscale, libra, health, trendweight.
bool ParseCsvLayoutName(std::string_view name, CsvLayout& layout);

struct CsvRowProblem {
    int line = 0;        // 1-based line of the file where the row starts
    std::string reason;  // English
};

// What a CSV file holds, read but not yet merged.
struct CsvImport {
    std::string error;                   // English; set when the file as a whole cannot be read
    CsvLayout layout = CsvLayout::Auto;  // the layout the rows were read as
    std::string unit;                    // the unit the file states, empty when it states none
    std::vector<DayWeight> rows;         // the readable rows, in file order
    std::vector<CsvRowProblem> problems; // the unreadable rows, in file order
    std::size_t interpolated = 0;        // rows the file marks as interpolated, left out
};

// Reads `text` (UTF-8, with or without a byte-order mark, LF or CRLF) as
// `layout`, or as the layout its header shows when `layout` is Auto. Every
// row is read; a bad row becomes a problem with its line and the rest go on,
// so the caller can either refuse the whole file or skip those rows.
CsvImport ReadCsvImport(std::string_view text, CsvLayout layout);
