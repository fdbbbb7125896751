#pragma once

#include "diary/import/weighing.h"
#include "platform/result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// diary/import/ reads other trackers' exports into weighings and merges them
// into a diary: this header is its entry point (what a file holds, which
// layout reads it), diary_import.h the merge into a diary. The folder
// depends only on the document (diary/) and platform/; where the bytes come
// from is import_inputs.h and zip_input.h, the layouts are one table in
// import_layouts.cpp with a reader per kind of file structure.
//
// The exports an import understands, each read by one row of the table in
// diary/import/import_layouts.cpp. Auto recognises the layout from the content,
// never from the file name.
enum class ImportLayout {
    Auto,
    Tarelog,        // date,weight (also ';'), plain dates
    Health,         // GNOME Health: date,weight with ISO 8601 timestamps
    OpenScale,      // "dateTime" and "weight" (openScale 2), or DATE, TIME, ..., WEIGHT (openScale 3)
    Libra,          // #Version, #Units, #date;weight;...; UTC times
    TrendWeight,    // computed: Date, Actual Weight, Weight Is Interpolated, ...
    TrendWeightRaw, // scale readings: Date, Time, Weight, Body Fat %
    Withings,       // weight.csv: Date,"Weight (kg)",... in the account's language
    Garmin,         // a line per day, then a line per weighing with its time
    Samsung,        // com.samsung.health.weight: a metadata line, start_time in UTC with time_offset
    GoogleFit,      // Takeout "Daily Summaries.csv": Date, ..., Average weight (kg)
    Trale,          // trale's backup: #Date weight[kg], then "ISO-date-time weight"
    AppleHealth,    // export.xml: HKQuantityTypeIdentifierBodyMass records
};

const char* ImportLayoutName(ImportLayout layout);
// False for a name that is no layout (nor "auto").
bool ParseImportLayoutName(std::string_view name, ImportLayout& layout);
// One line per layout, "  name  what it reads\n", for the command's help.
std::string ImportLayoutHelp();
// Every name --format takes, "auto" first, separated by spaces.
std::string ImportLayoutNames();

// Why a file as a whole could not be imported, for each program to say in
// its own language.
enum class ImportFailure {
    CannotRead,   // missing, unreadable, not a regular file, a broken zip archive
    Unrecognised, // no layout recognises the content (or not the one asked for)
    Damaged,      // recognised, but its structure is broken (XML, Libra's header)
};

// The failure of a whole import: why, and the English detail (the path,
// the system's or parser's words) for a program to show below its own.
struct ImportError {
    ImportFailure failure = ImportFailure::CannotRead;
    std::string detail;
};

// A row that could not be read. Not a failure of the import: the rest of
// the file still is read.
struct ImportProblem {
    int line = 0;       // 1-based line of the file where the row starts
    std::string reason; // English, with any text from the file cut and escaped
};

// The unreadable rows of a file: the first kKept with their lines, and how
// many there were in all, so a file of a million bad rows costs no more
// memory than one of twenty.
class ImportProblems {
public:
    static constexpr std::size_t kKept = 20;

    void Add(int line, std::string reason);
    const std::vector<ImportProblem>& First() const { return m_first; }
    std::size_t Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }

private:
    std::vector<ImportProblem> m_first;
    std::size_t m_count = 0;
};

// What an export holds, read but not yet merged.
struct WeightImport {
    std::string archiveEntry;                 // the file read inside a zip archive, empty for a plain file
    ImportLayout layout = ImportLayout::Auto; // the layout the rows were read as
    std::string statedUnit;                   // the unit text the file states, empty when none
    std::vector<Weighing> weighings;          // the readable weighings, in file order
    ImportProblems problems;                  // the unreadable rows
    std::size_t interpolated = 0;             // rows the file marks as interpolated, left out
    std::size_t withoutWeight = 0;            // measurements of other things (no weight), left out
};

// Reads `bytes` (UTF-8, with or without a byte-order mark, LF or CRLF) as
// `layout`, or as the layout its content shows when `layout` is Auto. Every
// row is read; a bad row becomes a problem with its line and the rest go
// on, so the caller can either refuse the whole file or skip those rows.
// Fails when no layout recognises the content (or not the one asked for),
// or when its structure is broken.
Result<WeightImport, ImportError> ReadWeightImport(std::string_view bytes, ImportLayout layout);

// The same from a file. An Apple Health export is streamed through the XML
// parser in small pieces, so its size (often hundreds of megabytes) does not
// decide the memory the import needs; the other layouts are read whole. A
// zip archive (Apple's export.zip, a Google Takeout zip) is read in place:
// its first file that a layout recognises is imported. Fails also when the
// file or archive cannot be read.
Result<WeightImport, ImportError> ReadWeightImportFile(const std::string& path, ImportLayout layout);

// Whether the file at `path` is something the import reads: a zip archive,
// or a file whose start a layout recognises. Reads at most its first
// 64 KiB, so a window can ask while something is dragged over it.
bool LooksImportable(const std::string& path);
