#pragma once

#include <string>
#include <string_view>

// The two values an imported row carries, read strictly: a field is either
// all date (or number) or refused, never read up to the first odd character.

struct CsvDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Reads a real calendar date written as YYYY-MM-DD, YYYY/MM/DD or
// DD.MM.YYYY, optionally followed by 'T' or a space and a time of day
// (HH:MM, then optional :SS, fraction and Z or +HH:MM / -HH:MM offset).
// A timestamp counts by the date as written: its offset is checked but not
// applied. On failure returns the English reason, else an empty string.
std::string ParseCsvDate(std::string_view text, CsvDate& date);

// Reads a finite decimal number (from_chars general syntax, no leading '+',
// no surrounding text). With `decimalComma`, one ',' may stand for the
// decimal point, as ';'-separated spreadsheets write it. On failure returns
// the English reason, else an empty string.
std::string ParseCsvWeight(std::string_view text, bool decimalComma, double& weight);
