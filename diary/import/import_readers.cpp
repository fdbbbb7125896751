// The helpers every layout reader shares.
#include "diary/import/import_readers.h"

#include "diary/import/ascii_text.h"

#include <algorithm>

std::string_view FirstNonBlankLine(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        if (!line.empty())
            return line;
        pos = end + 1;
    }
    return {};
}

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

std::size_t FindColumn(const std::vector<std::string>& columns, std::span<const std::string_view> names,
    std::string* unit)
{
    for (const std::string_view name : names) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string_view column = columns[i];
            if (column == name)
                return i;
            if (!column.starts_with(name))
                continue;
            const std::string_view rest = TrimBlanks(column.substr(name.size()));
            if (rest.size() > 2 && rest.front() == '(' && rest.back() == ')') {
                if (unit != nullptr)
                    *unit = std::string(TrimBlanks(rest.substr(1, rest.size() - 2)));
                return i;
            }
        }
    }
    return SIZE_MAX;
}

void AddWeighing(WeightImport& result, const CsvTimestamp& stamp, double weight, WeightUnit unit)
{
    Weighing weighing;
    LocalDayOf(stamp, weighing.date, weighing.second);
    weighing.weight = weight;
    weighing.unit = unit;
    result.weighings.push_back(weighing);
}
