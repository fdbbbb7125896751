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

// A date with, when the text gives one, the time of day it was written with.
struct CsvTimestamp {
    CsvDate date;
    int second = -1;  // second of the day; -1 when only a date is written
    bool utc = false; // written as UTC ('Z'): its day depends on the reader's time zone
};

// Reads a real calendar date written as YYYY-MM-DD, YYYY/MM/DD or
// DD.MM.YYYY, optionally followed by 'T' or a space and a time of day: HH:MM
// (after a space also H:MM, and a closing " Uhr" as German exports write it),
// then optional :SS and a fraction of any length, then optionally (after
// at most one space) Z or an offset in any form writers use: +HH, +HHMM or
// +HH:MM (or '-'). A timestamp with an offset counts by the date and time as
// written, the writer's own day; only Z marks it as UTC. On failure returns
// the English reason, else an empty string.
std::string ParseCsvTimestamp(std::string_view text, CsvTimestamp& stamp);

// ParseCsvTimestamp without the time.
std::string ParseCsvDate(std::string_view text, CsvDate& date);

// Reads a time of day on its own: H:MM or HH:MM, optional :SS with a
// fraction of any length, optionally followed by " AM" or " PM" (any case).
std::string ParseCsvTimeOfDay(std::string_view text, int& second);

// Reads an offset from UTC as a separate field writes it: Z, +HH, +HHMM,
// +HH:MM, optionally after "UTC" or "GMT" ("UTC+0900"). Minutes east of UTC.
std::string ParseUtcOffset(std::string_view text, int& minutes);

// Reads a finite decimal number (from_chars general syntax, no leading '+',
// no surrounding text). With `decimalComma`, one ',' may stand for the
// decimal point, as ';'-separated spreadsheets write it. On failure returns
// the English reason, else an empty string.
std::string ParseCsvWeight(std::string_view text, bool decimalComma, double& weight);
