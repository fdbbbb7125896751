#include "diary/import/pasted_text.h"

#include "diary/import/ascii_text.h"
#include "diary/import/csv_reader.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

bool AllDigits(std::string_view text)
{
    for (const char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return !text.empty();
}

// YYYY/M/D and YYYY-M-D as YYYY/MM/DD, which the import's date reading takes;
// anything else as it is.
std::string PaddedDate(std::string_view field)
{
    const std::size_t first = field.find_first_of("-/");
    if (first != 4 || !AllDigits(field.substr(0, 4)))
        return std::string(field);
    const char separator = field[first];
    const std::size_t second = field.find(separator, first + 1);
    if (second == std::string_view::npos)
        return std::string(field);
    const std::string_view month = field.substr(first + 1, second - first - 1);
    const std::string_view day = field.substr(second + 1);
    if (!AllDigits(month) || !AllDigits(day) || month.size() > 2 || day.size() > 2)
        return std::string(field);
    auto two = [](std::string_view part) { return part.size() == 1 ? "0" + std::string(part) : std::string(part); };
    return std::string(field.substr(0, 4)) + separator + two(month) + separator + two(day);
}

// A field as a spreadsheet quotes it when it holds a separator: the quotes
// are not part of the value.
std::string_view Unquoted(std::string_view field)
{
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        return field.substr(1, field.size() - 2);
    return field;
}

// The fields of one pasted line: split at its tabs, else its semicolons,
// else its commas, else its runs of blanks.
std::vector<std::string_view> FieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (const char separator : {'\t', ';', ','}) {
        if (line.find(separator) == std::string_view::npos)
            continue;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = line.find(separator, start);
            fields.push_back(
                Unquoted(TrimBlanks(line.substr(start, end == std::string_view::npos ? end : end - start))));
            if (end == std::string_view::npos)
                return fields;
            start = end + 1;
        }
    }
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        const std::size_t end = std::min(line.find_first_of(" \t", pos), line.size());
        if (end > pos)
            fields.push_back(Unquoted(line.substr(pos, end - pos)));
        pos = end;
    }
    return fields;
}

std::string Quoted(std::string_view field)
{
    std::string out = "\"";
    for (const char c : field) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + '"';
}

// The lines as this program's own date;weight table, one row per pasted
// line (blank lines stay blank), so the import's reader reads them and the
// row numbers stay the pasted lines' plus one for the header.
std::string AsDateWeightTable(std::string_view text)
{
    std::string table = "date;weight\n";
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = TrimBlanks(line);
        if (!line.empty()) {
            const std::vector<std::string_view> fields = FieldsOf(line);
            // A line with one field stays whole, to be refused with its text.
            table += fields.size() < 2 ? Quoted(line) : Quoted(PaddedDate(fields[0])) + ';' + Quoted(fields[1]);
        }
        table += '\n';
        if (end == text.size())
            break;
        pos = end + 1;
    }
    return table;
}

} // namespace

Result<WeightImport, ImportError> ReadPastedWeights(std::string_view text)
{
    Result<WeightImport, ImportError> whole = ReadWeightImport(text, ImportLayout::Auto);
    if (whole || whole.error().failure != ImportFailure::Unrecognised)
        return whole;
    Result<WeightImport, ImportError> lines = ReadWeightImport(AsDateWeightTable(StripByteOrderMark(text)),
        ImportLayout::Tarelog);
    if (!lines)
        return lines;
    // The problems' line numbers are the pasted text's, without the header.
    ImportProblems problems;
    for (const ImportProblem& problem : lines->problems.First())
        problems.Add(problem.line - 1, problem.reason);
    // Rows past the kept ones are only counted.
    for (std::size_t i = lines->problems.First().size(); i < lines->problems.Count(); ++i)
        problems.Add(0, std::string());
    lines->problems = std::move(problems);
    return lines;
}
