// trale's backup: '#' comment lines ("# This file was created with trale.",
// "#Date weight[kg]"), then one weighing per line: Dart's ISO 8601 form of
// the local date and time, one space, the weight in kilograms.
#include "diary/import/ascii_text.h"
#include "diary/import/import_readers.h"

#include "diary/import/shown_text.h"

Status<ImportError> ReadTrale(const LayoutReader&, ImportInput& input, WeightImport& result)
{
    const Result<std::string_view, std::string> whole = input.WholeText();
    if (!whole)
        return Failed{ImportError{ImportFailure::CannotRead, whole.error()}};
    const std::string_view text = StripByteOrderMark(*whole);
    result.statedUnit = "kg";
    int line = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view body = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        ++line;
        if (body.empty() || body.front() == '#')
            continue;
        const std::size_t space = body.find(' ');
        CsvTimestamp stamp;
        double weight = 0;
        std::string problem;
        if (space == std::string_view::npos || body.find(' ', space + 1) != std::string_view::npos)
            problem = ShownText(body) + " is not a date and a weight separated by one space";
        else if ((problem = ParseCsvTimestamp(body.substr(0, space), stamp)).empty())
            problem = ParseCsvWeight(body.substr(space + 1), false, weight);
        if (problem.empty())
            AddWeighing(result, stamp, weight, WeightUnit::Kilogram);
        else
            result.problems.Add(line, problem);
    }
    return {};
}
