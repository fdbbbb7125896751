#include "diary/csv_export.h"

#include "platform/format.h"

#include <charconv>

namespace {

// printf's %0<width>d: the sign counts toward the width.
void AppendPadded(std::string& out, int value, int width)
{
    char digits[16];
    const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const int length = static_cast<int>(end - digits) + (value < 0 ? 1 : 0);
    if (value < 0)
        out += '-';
    for (int i = length; i < width; ++i)
        out += '0';
    out.append(digits, end);
}

void AppendDate(std::string& out, const WeightRecord& record)
{
    AppendPadded(out, record.year, 4);
    out += '-';
    AppendPadded(out, record.month, 2);
    out += '-';
    AppendPadded(out, record.day, 2);
}

} // namespace

std::string IsoDateOf(const WeightRecord& record)
{
    std::string out;
    AppendDate(out, record);
    return out;
}

std::string ExportCsv(const std::vector<WeightRecord>& records)
{
    std::string out = "date,weight\n";
    out.reserve(out.size() + records.size() * 20);
    for (const WeightRecord& record : records) {
        AppendDate(out, record);
        out += ',';
        out += ShortestDouble(record.weight);
        out += '\n';
    }
    return out;
}
