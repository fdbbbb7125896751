// The table of layouts an import reads: each row names a layout, says how
// to recognise it from the start of the file and which reader reads it. The
// header-table layouts differ only in their TableRules. Auto-detection tries
// the rows in order, so a layout whose header is a special case of another's
// comes first (TrendWeight's raw readings before openScale 3, GNOME Health
// before this program's own date,weight).
#include "diary/import/ascii_text.h"
#include "diary/import/import_readers.h"

#include <algorithm>
#include <array>

namespace {

using Names = std::span<const std::string_view>;

constexpr std::string_view kDate[] = {"date"};
constexpr std::string_view kTime[] = {"time"};
constexpr std::string_view kWeight[] = {"weight"};
constexpr std::string_view kDateTime[] = {"datetime"};
constexpr std::string_view kActualWeight[] = {"actual weight"};
constexpr std::string_view kInterpolated[] = {"weight is interpolated", "interpolated"};
// Withings writes its header in the account's language; these are the
// translations seen in real exports (English, German, Dutch).
constexpr std::string_view kWithingsDate[] = {"date", "datum"};
constexpr std::string_view kWithingsWeight[] = {"weight", "gewicht"};
constexpr std::string_view kSamsungStart[] = {"start_time"};
constexpr std::string_view kSamsungOffset[] = {"time_offset"};
constexpr std::string_view kGoogleFitWeight[] = {"average weight"};

const TableRules kTarelogRules{.dateNames = kDate, .weightNames = kWeight};
const TableRules kOpenScale2Rules{.dateNames = kDateTime, .weightNames = kWeight};
const TableRules kOpenScale3Rules{
    .dateNames = kDate, .timeNames = kTime, .weightNames = kWeight, .emptyWeightIsOtherMeasure = true};
const TableRules kTrendWeightRules{.dateNames = kDate,
    .weightNames = kActualWeight,
    .interpolatedNames = kInterpolated,
    .emptyWeightIsOtherMeasure = true};
const TableRules kTrendWeightRawRules{
    .dateNames = kDate, .timeNames = kTime, .weightNames = kWeight, .emptyWeightIsOtherMeasure = true};
const TableRules kWithingsRules{
    .dateNames = kWithingsDate, .weightNames = kWithingsWeight, .emptyWeightIsOtherMeasure = true};
// Samsung writes a metadata line first, UTC start times with the writer's
// offset beside them, and a trailing comma on its rows.
const TableRules kSamsungRules{.dateNames = kSamsungStart,
    .weightNames = kWeight,
    .offsetNames = kSamsungOffset,
    .headerRow = 1,
    .namePrefix = "com.samsung.health.weight.",
    .emptyWeightIsOtherMeasure = true,
    .utcTimes = true,
    .exactFieldCount = false,
    .fixedUnit = WeightUnit::Kilogram};
const TableRules kGoogleFitRules{
    .dateNames = kDate, .weightNames = kGoogleFitWeight, .emptyWeightIsOtherMeasure = true, .exactFieldCount = false};

const std::vector<std::string>* HeaderOf(const FileStart& start, const TableRules& rules)
{
    return start.rows.size() > rules.headerRow ? &start.rows[rules.headerRow] : nullptr;
}

std::vector<std::string> WithoutPrefix(std::vector<std::string> names, std::string_view prefix)
{
    for (std::string& name : names)
        if (!prefix.empty() && name.starts_with(prefix))
            name.erase(0, prefix.size());
    return names;
}

// The columns the reader needs are all there.
bool HasColumns(const LayoutReader& reader, const FileStart& start)
{
    const TableRules& rules = *reader.table;
    const std::vector<std::string>* header = HeaderOf(start, rules);
    if (header == nullptr)
        return false;
    const std::vector<std::string> names = WithoutPrefix(*header, rules.namePrefix);
    return FindColumn(names, rules.dateNames) != SIZE_MAX && FindColumn(names, rules.weightNames) != SIZE_MAX
        && (rules.timeNames.empty() || FindColumn(names, rules.timeNames) != SIZE_MAX);
}

bool HasColumn(const FileStart& start, std::string_view name)
{
    return !start.rows.empty() && std::find(start.rows[0].begin(), start.rows[0].end(), name) != start.rows[0].end();
}

bool IsPlainDateWeight(const FileStart& start)
{
    return !start.rows.empty() && start.rows[0] == std::vector<std::string>{"date", "weight"};
}

bool RecogniseTarelog(const LayoutReader&, const FileStart& start, bool)
{
    return IsPlainDateWeight(start);
}

// GNOME Health writes date,weight too, but its dates are timestamps.
bool RecogniseHealth(const LayoutReader&, const FileStart& start, bool forced)
{
    if (!IsPlainDateWeight(start))
        return false;
    return forced || (start.rows.size() > 1 && !start.rows[1].empty() && start.rows[1][0].size() > 10);
}

bool RecogniseTable(const LayoutReader& reader, const FileStart& start, bool)
{
    return HasColumns(reader, start);
}

// TrendWeight's readings are Date,Time,Weight,Body Fat %; openScale 3 names
// its fat column BODY_FAT.
bool RecogniseTrendWeightRaw(const LayoutReader& reader, const FileStart& start, bool forced)
{
    return HasColumns(reader, start) && (forced || HasColumn(start, "body fat %"));
}

// Withings states the unit in the weight column's header: "Weight (kg)".
bool RecogniseWithings(const LayoutReader& reader, const FileStart& start, bool)
{
    if (!HasColumns(reader, start))
        return false;
    std::string unit;
    FindColumn(start.rows[0], reader.table->weightNames, &unit);
    return !unit.empty();
}

bool RecogniseSamsung(const LayoutReader& reader, const FileStart& start, bool forced)
{
    return HasColumns(reader, start)
        && (forced || LowerAscii(start.firstLine).starts_with("com.samsung.health.weight"));
}

bool IsLibraPreamble(std::string_view line)
{
    const std::string lower = LowerAscii(line);
    return lower.starts_with("#version") || lower.starts_with("#units") || lower.starts_with("#date;weight");
}

bool RecogniseLibra(const LayoutReader&, const FileStart& start, bool)
{
    return IsLibraPreamble(start.firstLine);
}

// trale opens with "# This file was created with trale." and "#Date weight[kg]".
bool RecogniseTrale(const LayoutReader&, const FileStart& start, bool)
{
    const std::string head = LowerAscii(start.text.substr(0, 200));
    return start.firstLine.starts_with("#") && !IsLibraPreamble(start.firstLine)
        && (head.find("#date weight") != std::string::npos || head.find("created with trale") != std::string::npos);
}

// Garmin's header is Time,Weight,Change,BMI,...: the date is on lines of its own.
bool RecogniseGarmin(const LayoutReader&, const FileStart& start, bool)
{
    return !start.rows.empty() && start.rows[0].size() >= 2 && start.rows[0][0] == "time"
        && start.rows[0][1] == "weight";
}

bool RecogniseAppleHealth(const LayoutReader&, const FileStart& start, bool)
{
    return start.firstLine.starts_with("<") && start.text.find("<HealthData") != std::string_view::npos;
}

const std::array<LayoutReader, 13> kReaders{{
    {ImportLayout::Health, "health", "GNOME Health: date,weight with ISO 8601 timestamps", RecogniseHealth,
        ReadHeaderTable, &kTarelogRules},
    {ImportLayout::Tarelog, "tarelog", "date,weight (or date;weight): this program's export or a spreadsheet",
        RecogniseTarelog, ReadHeaderTable, &kTarelogRules},
    {ImportLayout::TrendWeightRaw, "trendweight-raw", "TrendWeight scale readings: Date,Time,Weight,Body Fat %",
        RecogniseTrendWeightRaw, ReadHeaderTable, &kTrendWeightRawRules},
    {ImportLayout::OpenScale, "openscale", "openScale 2 (\"dateTime\", \"weight\")", RecogniseTable, ReadHeaderTable,
        &kOpenScale2Rules},
    {ImportLayout::OpenScale, "openscale", "openScale 3 (DATE, TIME, ..., WEIGHT)", RecogniseTable, ReadHeaderTable,
        &kOpenScale3Rules},
    {ImportLayout::TrendWeight, "trendweight",
        "TrendWeight computed: Date, Actual Weight, ...; interpolated days left out", RecogniseTable, ReadHeaderTable,
        &kTrendWeightRules},
    {ImportLayout::Withings, "withings",
        "Withings / Health Mate weight.csv: Date,\"Weight (kg)\",... (English, German, Dutch)", RecogniseWithings,
        ReadHeaderTable, &kWithingsRules},
    {ImportLayout::Samsung, "samsung", "Samsung Health com.samsung.health.weight.*.csv", RecogniseSamsung,
        ReadHeaderTable, &kSamsungRules},
    {ImportLayout::GoogleFit, "googlefit", "Google Fit (Takeout) Daily Summaries.csv: Average weight (kg)",
        RecogniseTable, ReadHeaderTable, &kGoogleFitRules},
    {ImportLayout::Garmin, "garmin", "Garmin Connect weight export: a line per day, then its weighings",
        RecogniseGarmin, ReadGarmin},
    {ImportLayout::Libra, "libra", "Libra: #Version, #Units, #date;weight;...", RecogniseLibra, ReadLibra},
    {ImportLayout::Trale, "trale", "trale backup: #Date weight[kg], then date-time and weight", RecogniseTrale,
        ReadTrale},
    {ImportLayout::AppleHealth, "apple", "Apple Health export.xml (body mass records)", RecogniseAppleHealth,
        ReadAppleHealth},
}};

} // namespace

std::span<const LayoutReader> LayoutReaders()
{
    return kReaders;
}

const char* ImportLayoutName(ImportLayout layout)
{
    for (const LayoutReader& reader : kReaders)
        if (reader.layout == layout)
            return reader.name;
    return "auto";
}

bool ParseImportLayoutName(std::string_view name, ImportLayout& layout)
{
    if (name == "auto") {
        layout = ImportLayout::Auto;
        return true;
    }
    for (const LayoutReader& reader : kReaders) {
        if (name == reader.name) {
            layout = reader.layout;
            return true;
        }
    }
    return false;
}

std::string ImportLayoutHelp()
{
    std::string help = "  auto             recognise the layout from the content (the default)\n";
    const char* previous = nullptr;
    for (const LayoutReader& reader : kReaders) {
        // Two generations of one program share a name and a line.
        if (previous != nullptr && std::string_view(previous) == reader.name) {
            help.insert(help.size() - 1, std::string("; ") + reader.summary);
            continue;
        }
        std::string name = reader.name;
        name.resize(std::max<std::size_t>(name.size() + 1, 17), ' ');
        help += "  " + name + reader.summary + "\n";
        previous = reader.name;
    }
    return help;
}

std::string ImportLayoutNames()
{
    std::string names = "auto";
    const char* previous = nullptr;
    for (const LayoutReader& reader : kReaders) {
        if (previous == nullptr || std::string_view(previous) != reader.name)
            names += std::string(" ") + reader.name;
        previous = reader.name;
    }
    return names;
}
