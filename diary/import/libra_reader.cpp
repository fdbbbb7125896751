// Libra opens with '#' lines: "#Version:5", "#Units:kg", then the column
// names "#date;weight;...". The rows follow without '#', ';'-separated, with
// a free-text log as the last field (which may itself hold ';'), and UTC
// times.
#include "diary/import/ascii_text.h"
#include "diary/import/import_readers.h"

namespace {

struct Preamble {
    std::string unit;
    std::size_t rowsStart = 0; // byte where the rows begin
    int rowsLine = 1;          // and their line
};

Result<Preamble, std::string> ReadPreamble(std::string_view text)
{
    Preamble preamble;
    std::size_t pos = 0;
    int line = 1;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view body = TrimBlanks(text.substr(pos, end - pos));
        pos = end < text.size() ? end + 1 : end;
        ++line;
        if (body.empty())
            continue;
        if (body.front() != '#')
            break;
        const std::string lower = LowerAscii(TrimBlanks(body.substr(1)));
        if (lower.starts_with("units:"))
            preamble.unit = std::string(TrimBlanks(body.substr(body.find(':') + 1)));
        if (lower.starts_with("date;weight")) {
            preamble.rowsStart = pos;
            preamble.rowsLine = line;
            return preamble;
        }
    }
    return Failed{std::string("the Libra header has no '#date;weight;...' line")};
}

} // namespace

Status<ImportError> ReadLibra(const LayoutReader&, ImportInput& input, WeightImport& result)
{
    const Result<std::string_view, std::string> whole = input.WholeText();
    if (!whole)
        return Failed{ImportError{ImportFailure::CannotRead, whole.error()}};
    const std::string_view text = StripByteOrderMark(*whole);
    const Result<Preamble, std::string> preamble = ReadPreamble(text);
    if (!preamble)
        return Failed{ImportError{ImportFailure::Damaged, preamble.error()}};
    result.statedUnit = preamble->unit;
    const WeightUnit unit = UnitOfText(preamble->unit);
    CsvReader reader(text.substr(preamble->rowsStart), ';', preamble->rowsLine);
    std::vector<std::string> fields;
    while (reader.Next(fields)) {
        CsvTimestamp stamp;
        double weight = 0;
        std::string problem;
        if (reader.RecordUnterminated())
            problem = "a quoted field is not closed";
        else if (fields.size() < 2)
            problem = "expected at least 2 fields, found " + std::to_string(fields.size());
        else if ((problem = ParseCsvTimestamp(fields[0], stamp)).empty())
            problem = ParseCsvWeight(fields[1], true, weight);
        if (problem.empty())
            AddWeighing(result, stamp, weight, unit);
        else
            result.problems.Add(reader.RecordLine(), problem);
    }
    return {};
}
