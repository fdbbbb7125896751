// Reads every layout that is a header line and one row per weighing; the
// layouts differ only in their TableRules.
#include "diary/import/ascii_text.h"
#include "diary/import/import_readers.h"

#include "diary/import/shown_text.h"

#include <algorithm>

namespace {

struct Columns {
    std::size_t date = SIZE_MAX;
    std::size_t time = SIZE_MAX;
    std::size_t weight = SIZE_MAX;
    std::size_t offset = SIZE_MAX;
    std::size_t interpolated = SIZE_MAX;
    std::size_t header = 0; // fields in the header
    std::size_t needed = 0; // fields a row must have at least
};

std::size_t Needed(const Columns& c)
{
    std::size_t last = 0;
    for (const std::size_t index : {c.date, c.time, c.weight, c.offset, c.interpolated})
        if (index != SIZE_MAX)
            last = std::max(last, index + 1);
    return last;
}

Columns ColumnsOf(const TableRules& rules, std::vector<std::string> names, std::string& unit)
{
    for (std::string& name : names) {
        name = LowerAscii(name);
        if (!rules.namePrefix.empty() && name.starts_with(rules.namePrefix))
            name.erase(0, rules.namePrefix.size());
    }
    Columns c;
    c.date = FindColumn(names, rules.dateNames);
    c.time = rules.timeNames.empty() ? SIZE_MAX : FindColumn(names, rules.timeNames);
    c.weight = FindColumn(names, rules.weightNames, &unit);
    c.offset = rules.offsetNames.empty() ? SIZE_MAX : FindColumn(names, rules.offsetNames);
    c.interpolated = rules.interpolatedNames.empty() ? SIZE_MAX : FindColumn(names, rules.interpolatedNames);
    c.header = names.size();
    c.needed = Needed(c);
    return c;
}

bool YesNo(std::string_view text, bool& yes)
{
    const std::string lower = LowerAscii(text);
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

std::string FieldCountProblem(const TableRules& rules, const Columns& c, std::size_t found)
{
    const std::string expected = rules.exactFieldCount ? std::to_string(c.header)
                                                       : "at least " + std::to_string(c.needed);
    return "expected " + expected + " fields, found " + std::to_string(found);
}

// The row's day and time: a timestamp, or a date and a time column, and for
// UTC layouts the writer's offset.
std::string ReadWhen(const TableRules& rules, const Columns& c, const std::vector<std::string>& fields,
    CsvTimestamp& stamp)
{
    std::string problem = ParseCsvTimestamp(fields[c.date], stamp);
    if (problem.empty() && c.time != SIZE_MAX && !fields[c.time].empty())
        problem = ParseCsvTimeOfDay(fields[c.time], stamp.second);
    if (!problem.empty() || !rules.utcTimes)
        return problem;
    int minutes = 0;
    if (c.offset == SIZE_MAX || fields[c.offset].empty()) {
        stamp.utc = true; // no offset: the importer's own zone decides the day
        return {};
    }
    problem = ParseUtcOffset(fields[c.offset], minutes);
    if (problem.empty())
        ShiftByMinutes(stamp.date, stamp.second, minutes);
    return problem;
}

enum class RowOutcome { Weighing, Interpolated, WithoutWeight, Problem };

RowOutcome ReadRow(const TableRules& rules, const Columns& c, const std::vector<std::string>& fields, bool decimalComma,
    CsvTimestamp& stamp, double& weight, std::string& problem)
{
    const bool countOk = rules.exactFieldCount ? fields.size() == c.header : fields.size() >= c.needed;
    if (!countOk) {
        problem = FieldCountProblem(rules, c, fields.size());
        return RowOutcome::Problem;
    }
    if (c.interpolated != SIZE_MAX) {
        bool interpolated = false;
        if (!YesNo(fields[c.interpolated], interpolated)) {
            problem = ShownText(fields[c.interpolated]) + " is not a yes/no value";
            return RowOutcome::Problem;
        }
        if (interpolated)
            return RowOutcome::Interpolated;
    }
    problem = ReadWhen(rules, c, fields, stamp);
    if (!problem.empty())
        return RowOutcome::Problem;
    if (fields[c.weight].empty() && rules.emptyWeightIsOtherMeasure)
        return RowOutcome::WithoutWeight;
    problem = ParseCsvWeight(fields[c.weight], decimalComma, weight);
    return problem.empty() ? RowOutcome::Weighing : RowOutcome::Problem;
}

} // namespace

Status<ImportError> ReadHeaderTable(const LayoutReader& layout, ImportInput& input, WeightImport& result)
{
    const TableRules& rules = *layout.table;
    const Result<std::string_view, std::string> whole = input.WholeText();
    if (!whole)
        return Failed{ImportError{ImportFailure::CannotRead, whole.error()}};
    const std::string_view text = StripByteOrderMark(*whole);
    const char separator = SeparatorOf(FirstNonBlankLine(text));
    std::vector<std::string> fields;
    CsvReader reader(text, separator);
    for (std::size_t row = 0; row <= rules.headerRow; ++row)
        reader.Next(fields);
    std::string unit;
    const Columns columns = ColumnsOf(rules, fields, unit);
    result.statedUnit = rules.fixedUnit != WeightUnit::Unknown ? UnitSymbol(rules.fixedUnit) : unit;
    const WeightUnit weightUnit = rules.fixedUnit != WeightUnit::Unknown ? rules.fixedUnit : UnitOfText(unit);
    const bool decimalComma = separator == ';';
    // About a weighing per line: one allocation instead of a growing vector,
    // up to a bound, so that a file of nothing but line ends cannot make the
    // import ask for gigabytes before reading a row.
    constexpr std::size_t kMostReserved = std::size_t{1} << 21;
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    result.weighings.reserve(std::min(lines, kMostReserved));
    CsvTimestamp stamp;
    double weight = 0;
    std::string problem;
    while (reader.Next(fields)) {
        RowOutcome outcome = RowOutcome::Problem;
        if (reader.RecordUnterminated())
            problem = "a quoted field is not closed";
        else
            outcome = ReadRow(rules, columns, fields, decimalComma, stamp, weight, problem);
        switch (outcome) {
        case RowOutcome::Weighing: AddWeighing(result, stamp, weight, weightUnit); break;
        case RowOutcome::Interpolated: ++result.interpolated; break;
        case RowOutcome::WithoutWeight: ++result.withoutWeight; break;
        case RowOutcome::Problem: result.problems.Add(reader.RecordLine(), problem); break;
        }
    }
    return {};
}
