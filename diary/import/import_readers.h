#pragma once

// The parts the import's layout table and its readers share; the import's
// interface is diary/weight_import.h.

#include "diary/import/csv_reader.h"
#include "diary/import/weight_import.h"
#include "platform/result.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Where an import's bytes come from: all in memory, or a file read whole or
// in pieces.
class ImportInput {
public:
    virtual ~ImportInput() = default;
    // The whole text, for the layouts that are read at once. The failure
    // says in English why it cannot be read.
    virtual Result<std::string_view, std::string> WholeText() = 0;
    // The next piece from the start, empty at the end, for streaming readers.
    virtual Result<std::string_view, std::string> NextPiece() = 0;
};

// What the start of a file shows, for recognising its layout.
struct FileStart {
    std::string_view text;                      // the first bytes, without a byte-order mark
    std::string_view firstLine;                 // the first line that is not blank, trimmed
    std::vector<std::vector<std::string>> rows; // the first records, split at the first line's separator, lower-case
};

// How a layout with a header line names its columns. One reader,
// ReadHeaderTable, reads every layout described this way.
struct TableRules {
    std::span<const std::string_view> dateNames = {};   // the date or timestamp
    std::span<const std::string_view> timeNames = {};   // a separate time of day, when the layout has one
    std::span<const std::string_view> weightNames = {}; // also matched as "name (unit)", which states the unit
    std::span<const std::string_view> offsetNames = {}; // a separate offset from UTC (Samsung's time_offset)
    std::span<const std::string_view> interpolatedNames = {};
    std::size_t headerRow = 0;                  // 1 when a metadata line comes before the header
    std::string_view namePrefix = {};           // dropped from column names before matching
    bool emptyWeightIsOtherMeasure = false;     // an empty weight: a measurement of something else, skipped and counted
    bool utcTimes = false;                      // times are UTC, moved to the writer's clock by the offset column
    bool exactFieldCount = true;                // or rows may carry more fields (trailing separators)
    WeightUnit fixedUnit = WeightUnit::Unknown; // the unit the layout always writes
};

struct LayoutReader {
    ImportLayout layout;
    const char* name;    // for --format and messages
    const char* summary; // for help
    // Whether the file is of this layout. `forced`: the user named the
    // layout, so only what reading needs is checked, not what tells it from
    // a similar one.
    bool (*recognises)(const LayoutReader& reader, const FileStart& start, bool forced);
    // Fills `result` row by row; fails when the file as a whole cannot be
    // read, and then what is in `result` is dropped.
    Status<ImportError> (*read)(const LayoutReader& reader, ImportInput& input, WeightImport& result);
    const TableRules* table = nullptr; // for the layouts ReadHeaderTable reads
};

std::span<const LayoutReader> LayoutReaders();

// Readers, one per kind of file structure.
Status<ImportError> ReadHeaderTable(const LayoutReader& reader, ImportInput& input, WeightImport& result);
Status<ImportError> ReadLibra(const LayoutReader& reader, ImportInput& input, WeightImport& result);
Status<ImportError> ReadTrale(const LayoutReader& reader, ImportInput& input, WeightImport& result);
Status<ImportError> ReadGarmin(const LayoutReader& reader, ImportInput& input, WeightImport& result);
Status<ImportError> ReadAppleHealth(const LayoutReader& reader, ImportInput& input, WeightImport& result);

// Helpers the readers share.
std::string_view FirstNonBlankLine(std::string_view text);
char SeparatorOf(std::string_view headerLine);
// Index of the column called one of `names` (or "name (unit)", whose unit
// goes to `unit`), or SIZE_MAX.
std::size_t FindColumn(const std::vector<std::string>& columns, std::span<const std::string_view> names,
    std::string* unit = nullptr);
// Adds a weighing read from `stamp`, counted by the writer's local day.
void AddWeighing(WeightImport& result, const CsvTimestamp& stamp, double weight, WeightUnit unit);
