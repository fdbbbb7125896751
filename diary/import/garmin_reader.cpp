// Garmin Connect's weight export: the header Time,Weight,Change,BMI,...,
// then a line per day (" Jul 18, 2026", or " 21 Sep 2023" in day-first
// locales) followed by a line per weighing of that day with its time
// ("8:28 AM" or "17:08") and values carrying their units ("80.0 kg",
// "176.4 lbs"); "--" stands for a missing value and every line ends in a
// comma.
#include "diary/import/ascii_text.h"
#include "diary/import/import_readers.h"

#include "diary/import/shown_text.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 12> kMonths{"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct",
    "nov", "dec"};

int MonthNumber(std::string_view name)
{
    const std::string lower = LowerAscii(name.substr(0, 3));
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (lower == kMonths[i] && (name.size() == 3 || LowerAscii(name).starts_with(kMonths[i])))
            return static_cast<int>(i) + 1;
    return 0;
}

bool Number(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// "Jul 18, 2026" or "21 Sep 2023", as a YYYY-MM-DD date so the calendar
// check is the usual one.
bool ReadDayLine(std::string_view text, CsvTimestamp& day)
{
    std::string words(TrimBlanks(text));
    for (char& c : words)
        if (c == ',')
            c = ' ';
    std::vector<std::string_view> parts;
    for (std::size_t pos = 0; pos < words.size();) {
        const std::size_t end = std::min(words.find(' ', pos), words.size());
        if (end > pos)
            parts.push_back(std::string_view(words).substr(pos, end - pos));
        pos = end + 1;
    }
    if (parts.size() != 3)
        return false;
    int dayOfMonth = 0, year = 0;
    int month = MonthNumber(parts[0]);
    bool numbers = month != 0 && Number(parts[1], dayOfMonth) && Number(parts[2], year);
    if (!numbers) {
        month = MonthNumber(parts[1]);
        numbers = month != 0 && Number(parts[0], dayOfMonth) && Number(parts[2], year);
    }
    if (!numbers || year < 1000)
        return false;
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", year, month, dayOfMonth);
    return ParseCsvTimestamp(iso, day).empty();
}

bool IsDayLine(const std::vector<std::string>& fields)
{
    for (std::size_t i = 1; i < fields.size(); ++i)
        if (!fields[i].empty())
            return false;
    return !fields.empty() && !fields[0].empty() && fields[0].find(':') == std::string::npos;
}

// "80.0 kg", "176.4 lbs", "80,0 kg".
std::string ReadWeightWithUnit(std::string_view text, double& weight, WeightUnit& unit)
{
    const std::size_t space = text.rfind(' ');
    if (space == std::string_view::npos)
        return ShownText(text) + " is not a weight with its unit";
    unit = UnitOfText(text.substr(space + 1));
    if (unit == WeightUnit::Unknown)
        return ShownText(text) + " is not in kg or lbs";
    return ParseCsvWeight(TrimBlanks(text.substr(0, space)), true, weight);
}

} // namespace

Status<ImportError> ReadGarmin(const LayoutReader&, ImportInput& input, WeightImport& result)
{
    const Result<std::string_view, std::string> whole = input.WholeText();
    if (!whole)
        return Failed{ImportError{ImportFailure::CannotRead, whole.error()}};
    CsvReader reader(StripByteOrderMark(*whole), ',');
    std::vector<std::string> fields;
    reader.Next(fields); // the header
    CsvTimestamp day;
    bool haveDay = false;
    while (reader.Next(fields)) {
        std::string problem;
        if (reader.RecordUnterminated()) {
            problem = "a quoted field is not closed";
        } else if (IsDayLine(fields)) {
            haveDay = ReadDayLine(fields[0], day);
            if (!haveDay)
                problem = ShownText(fields[0]) + " is not a date (\"Jul 18, 2026\" or \"21 Sep 2023\")";
        } else if (!haveDay) {
            problem = "a weighing before any date line";
        } else if (fields.size() < 2) {
            problem = "expected a time and a weight, found " + std::to_string(fields.size()) + " field";
        } else if (fields[1] == "--" || fields[1].empty()) {
            ++result.withoutWeight;
            continue;
        } else {
            CsvTimestamp stamp = day;
            double weight = 0;
            WeightUnit unit = WeightUnit::Unknown;
            problem = ParseCsvTimeOfDay(fields[0], stamp.second);
            if (problem.empty())
                problem = ReadWeightWithUnit(fields[1], weight, unit);
            if (problem.empty()) {
                AddWeighing(result, stamp, weight, unit);
                continue;
            }
        }
        if (!problem.empty())
            result.problems.Add(reader.RecordLine(), problem);
    }
    return {};
}
