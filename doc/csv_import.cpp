#include "doc/csv_import.h"

#include "doc/csv_reader.h"
#include "doc/csv_values.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

struct LayoutName {
    CsvLayout layout;
    const char* name;
};

constexpr std::array<LayoutName, 6> kLayoutNames{{
    {CsvLayout::Auto, "auto"},
    {CsvLayout::Tarelog, "tarelog"},
    {CsvLayout::OpenScale, "openscale"},
    {CsvLayout::Libra, "libra"},
    {CsvLayout::Health, "health"},
    {CsvLayout::TrendWeight, "trendweight"},
}};

// Where a layout keeps what the import needs.
struct Columns {
    CsvLayout layout = CsvLayout::Auto;
    std::size_t date = 0;
    std::size_t weight = 0;
    std::size_t interpolated = SIZE_MAX; // SIZE_MAX: the file marks no row
    std::size_t fields = 0;              // every row has exactly this many
    bool freeTextTail = false;           // or, with a free-text last column, at least the date and weight
    std::string unit;
};

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// A cursor over physical lines, for the header and Libra's '#' lines.
struct LineCursor {
    std::string_view text;
    std::size_t pos = 0;
    int line = 1;

    // The next line that is not blank, without its line end; `number` is its line.
    bool NextNonBlank(std::string_view& out, int& number)
    {
        while (pos < text.size()) {
            const std::size_t end = std::min(text.find('\n', pos), text.size());
            out = Trim(text.substr(pos, end - pos));
            number = line;
            pos = end < text.size() ? end + 1 : end;
            ++line;
            if (!out.empty())
                return true;
        }
        return false;
    }
};

char SeparatorOf(std::string_view headerLine)
{
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (const char c : headerLine) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

std::size_t IndexOf(const std::vector<std::string>& names, std::string_view name)
{
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? SIZE_MAX : static_cast<std::size_t>(it - names.begin());
}

// "actual weight (kg)" states its unit in parentheses.
bool IsActualWeight(std::string_view name, std::string& unit)
{
    constexpr std::string_view base = "actual weight";
    if (!name.starts_with(base))
        return false;
    std::string_view rest = Trim(name.substr(base.size()));
    if (rest.empty())
        return true;
    if (rest.front() != '(' || rest.back() != ')')
        return false;
    unit = std::string(Trim(rest.substr(1, rest.size() - 2)));
    return true;
}

bool MatchTrendWeight(const std::vector<std::string>& names, Columns& columns)
{
    if (names.empty() || names[0] != "date")
        return false;
    for (std::size_t i = 1; i < names.size(); ++i) {
        std::string unit;
        if (IsActualWeight(names[i], unit)) {
            columns.weight = i;
            columns.unit = unit;
            columns.layout = CsvLayout::TrendWeight;
        } else if (names[i].find("interpolated") != std::string::npos) {
            columns.interpolated = i;
        }
    }
    return columns.layout == CsvLayout::TrendWeight;
}

// Which layout a header of lower-case column names belongs to.
bool MatchHeader(const std::vector<std::string>& names, Columns& columns)
{
    columns.fields = names.size();
    const std::size_t weight = IndexOf(names, "weight");
    if (weight != SIZE_MAX && IndexOf(names, "datetime") != SIZE_MAX) {
        columns = {CsvLayout::OpenScale, IndexOf(names, "datetime"), weight, SIZE_MAX, names.size(), false, {}};
        return true;
    }
    if (weight != SIZE_MAX && IndexOf(names, "date") != SIZE_MAX && IndexOf(names, "time") != SIZE_MAX) {
        columns = {CsvLayout::OpenScale, IndexOf(names, "date"), weight, SIZE_MAX, names.size(), false, {}};
        return true;
    }
    if (names.size() == 2 && names[0] == "date" && names[1] == "weight") {
        columns = {CsvLayout::Tarelog, 0, 1, SIZE_MAX, 2, false, {}};
        return true;
    }
    return MatchTrendWeight(names, columns);
}

bool Compatible(CsvLayout asked, CsvLayout found)
{
    if (asked == CsvLayout::Auto || asked == found)
        return true;
    // Health's export is a date,weight file whose dates are timestamps.
    return asked == CsvLayout::Health && found == CsvLayout::Tarelog;
}

std::string UnknownHeader(std::string_view line, CsvLayout asked)
{
    const std::string shown = "'" + std::string(line.substr(0, 120)) + "'";
    if (asked != CsvLayout::Auto)
        return "the header " + shown + " is not that of a " + CsvLayoutName(asked) + " file";
    return "unrecognised header " + shown
        + ": expected date,weight or an openScale, Libra, GNOME Health or TrendWeight export";
}

// Libra opens with '#' lines: "#Version:5", "#Units:kg", then the column
// names "#date;weight;...". The rows follow without '#'.
bool ReadLibraPreamble(LineCursor& cursor, std::string_view line, Columns& columns, std::string& error)
{
    std::string unit;
    int number = 0;
    for (;;) {
        const std::string_view body = Trim(line.substr(1));
        if (body.find(';') != std::string_view::npos) {
            CsvReader reader(body, ';');
            std::vector<std::string> names;
            reader.Next(names);
            for (std::string& name : names)
                name = Lower(name);
            if (names.size() < 2 || names[0] != "date" || names[1] != "weight") {
                error = UnknownHeader(line, CsvLayout::Libra);
                return false;
            }
            columns = {CsvLayout::Libra, 0, 1, SIZE_MAX, names.size(), true, unit};
            return true;
        }
        if (Lower(body).starts_with("units:"))
            unit = std::string(Trim(body.substr(6)));
        if (!cursor.NextNonBlank(line, number) || line.front() != '#') {
            error = "the Libra header has no '#date;weight;...' line";
            return false;
        }
    }
}

bool YesNo(std::string_view text, bool& yes)
{
    const std::string lower = Lower(text);
    if (lower.empty() || lower == "false" || lower == "no" || lower == "n" || lower == "0") {
        yes = false;
        return true;
    }
    if (lower == "true" || lower == "yes" || lower == "y" || lower == "1") {
        yes = true;
        return true;
    }
    return false;
}

std::string FieldCountProblem(const Columns& columns, std::size_t found)
{
    const std::string expected = columns.freeTextTail ? "at least 2" : std::to_string(columns.fields);
    return "expected " + expected + " fields, found " + std::to_string(found);
}

// One row: either a day's weight, an interpolated row to leave out, or a problem.
enum class RowOutcome { Weight, Interpolated, Problem };

RowOutcome ReadRow(const std::vector<std::string>& fields, const Columns& columns, bool decimalComma,
    DayWeight& row, std::string& problem)
{
    const bool countOk = columns.freeTextTail ? fields.size() >= 2 : fields.size() == columns.fields;
    if (!countOk) {
        problem = FieldCountProblem(columns, fields.size());
        return RowOutcome::Problem;
    }
    if (columns.interpolated != SIZE_MAX) {
        bool interpolated = false;
        if (!YesNo(fields[columns.interpolated], interpolated)) {
            problem = "'" + fields[columns.interpolated] + "' is not a yes/no value";
            return RowOutcome::Problem;
        }
        if (interpolated)
            return RowOutcome::Interpolated;
    }
    CsvDate date;
    problem = ParseCsvDate(fields[columns.date], date);
    if (problem.empty())
        problem = ParseCsvWeight(fields[columns.weight], decimalComma, row.weight);
    if (!problem.empty())
        return RowOutcome::Problem;
    row.year = date.year;
    row.month = date.month;
    row.day = date.day;
    return RowOutcome::Weight;
}

// Returns whether the first readable row's date is a timestamp.
bool ReadRows(CsvReader& reader, const Columns& columns, bool decimalComma, CsvImport& result)
{
    std::vector<std::string> fields;
    std::string problem;
    bool firstIsTimestamp = false;
    while (reader.Next(fields)) {
        DayWeight row;
        RowOutcome outcome = RowOutcome::Problem;
        if (reader.RecordUnterminated())
            problem = "a quoted field is not closed";
        else
            outcome = ReadRow(fields, columns, decimalComma, row, problem);
        if (outcome == RowOutcome::Weight) {
            if (result.rows.empty())
                firstIsTimestamp = fields[columns.date].size() > 10;
            result.rows.push_back(row);
        }
        else if (outcome == RowOutcome::Interpolated)
            ++result.interpolated;
        else
            result.problems.push_back({reader.RecordLine(), problem});
    }
    return firstIsTimestamp;
}

void ReadLibra(LineCursor& cursor, std::string_view first, CsvLayout asked, CsvImport& result)
{
    Columns columns;
    if (!Compatible(asked, CsvLayout::Libra)) {
        result.error = UnknownHeader(first, asked);
        return;
    }
    if (!ReadLibraPreamble(cursor, first, columns, result.error))
        return;
    result.layout = CsvLayout::Libra;
    result.unit = columns.unit;
    CsvReader reader(cursor.text.substr(cursor.pos), ';', cursor.line);
    ReadRows(reader, columns, true, result);
}

void ReadDelimited(std::string_view text, std::string_view first, CsvLayout asked, CsvImport& result)
{
    const char separator = SeparatorOf(first);
    CsvReader reader(text, separator);
    std::vector<std::string> names;
    reader.Next(names);
    for (std::string& name : names)
        name = Lower(name);
    Columns columns;
    if (!MatchHeader(names, columns) || !Compatible(asked, columns.layout)) {
        result.error = UnknownHeader(first, asked);
        return;
    }
    result.layout = asked == CsvLayout::Auto ? columns.layout : asked;
    result.unit = columns.unit;
    const bool timestamps = ReadRows(reader, columns, separator == ';', result);
    // A date,weight file is Health's when its dates are timestamps.
    if (asked == CsvLayout::Auto && result.layout == CsvLayout::Tarelog && timestamps)
        result.layout = CsvLayout::Health;
}

} // namespace

const char* CsvLayoutName(CsvLayout layout)
{
    for (const LayoutName& entry : kLayoutNames)
        if (entry.layout == layout)
            return entry.name;
    return "?";
}

bool ParseCsvLayoutName(std::string_view name, CsvLayout& layout)
{
    for (const LayoutName& entry : kLayoutNames) {
        if (name == entry.name) {
            layout = entry.layout;
            return true;
        }
    }
    return false;
}

CsvImport ReadCsvImport(std::string_view text, CsvLayout layout)
{
    CsvImport result;
    LineCursor cursor{StripByteOrderMark(text)};
    std::string_view first;
    int firstLine = 0;
    if (!cursor.NextNonBlank(first, firstLine))
        result.error = "the file is empty: no header line";
    else if (first.front() == '#')
        ReadLibra(cursor, first, layout, result);
    else
        ReadDelimited(cursor.text, first, layout, result);
    return result;
}
