#include "doc/csv_values.h"

#include "platform/calendar_date.h"

#include <charconv>
#include <cmath>

namespace {

// Reads exactly `width` decimal digits at `pos`.
bool Digits(std::string_view text, std::size_t& pos, std::size_t width, int& value)
{
    if (pos + width > text.size())
        return false;
    value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    pos += width;
    return true;
}

bool Expect(std::string_view text, std::size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

bool ReadYmdOrDmy(std::string_view text, std::size_t& pos, CsvDate& date)
{
    if (text.size() >= 3 && text[2] == '.') {
        return Digits(text, pos, 2, date.day) && Expect(text, pos, '.') && Digits(text, pos, 2, date.month)
            && Expect(text, pos, '.') && Digits(text, pos, 4, date.year);
    }
    if (!Digits(text, pos, 4, date.year) || pos >= text.size() || (text[pos] != '-' && text[pos] != '/'))
        return false;
    const char separator = text[pos++];
    return Digits(text, pos, 2, date.month) && Expect(text, pos, separator) && Digits(text, pos, 2, date.day);
}

bool ReadOffset(std::string_view text, std::size_t& pos)
{
    if (pos == text.size())
        return true;
    if (text[pos] == 'Z' || text[pos] == 'z')
        return ++pos == text.size();
    if (text[pos] != '+' && text[pos] != '-')
        return false;
    ++pos;
    int hours = 0, minutes = 0;
    if (!Digits(text, pos, 2, hours))
        return false;
    if (pos < text.size() && text[pos] == ':')
        ++pos;
    return Digits(text, pos, 2, minutes) && hours <= 23 && minutes <= 59 && pos == text.size();
}

bool ReadTimeOfDay(std::string_view text, std::size_t& pos)
{
    int hours = 0, minutes = 0, seconds = 0;
    if (!Digits(text, pos, 2, hours) || !Expect(text, pos, ':') || !Digits(text, pos, 2, minutes))
        return false;
    if (hours > 23 || minutes > 59)
        return false;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        if (!Digits(text, pos, 2, seconds) || seconds > 60) // 60: a leap second
            return false;
        if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
            const std::size_t start = ++pos;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
                ++pos;
            if (pos == start)
                return false;
        }
    }
    return ReadOffset(text, pos);
}

bool IsCalendarDate(const CsvDate& date)
{
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1)
        return false;
    // The calendar rolls impossible days over (02-30 becomes 03-01), so a
    // date is real exactly when it comes back unchanged.
    const CalendarDate normalised = CalendarDate::FromYmd(date.year, date.month, date.day);
    return normalised.Month() == date.month && normalised.Day() == date.day;
}

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

} // namespace

std::string ParseCsvDate(std::string_view text, CsvDate& date)
{
    if (text.empty())
        return "no date";
    std::size_t pos = 0;
    bool shaped = ReadYmdOrDmy(text, pos, date);
    if (shaped && pos < text.size()) {
        const char c = text[pos++];
        shaped = (c == 'T' || c == 't' || c == ' ') && ReadTimeOfDay(text, pos);
    }
    if (!shaped)
        return Quoted(text) + " is not a date (YYYY-MM-DD, YYYY/MM/DD, DD.MM.YYYY or a timestamp)";
    if (!IsCalendarDate(date))
        return Quoted(text) + " is not a calendar date";
    return {};
}

std::string ParseCsvWeight(std::string_view text, bool decimalComma, double& weight)
{
    if (text.empty())
        return "no weight";
    std::string withPoint;
    std::string_view number = text;
    if (decimalComma && text.find(',') != std::string_view::npos) {
        withPoint.assign(text);
        const std::size_t comma = withPoint.find(',');
        if (withPoint.find(',', comma + 1) != std::string::npos || withPoint.find('.') != std::string::npos)
            return Quoted(text) + " is not a number";
        withPoint[comma] = '.';
        number = withPoint;
    }
    const char* const end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, weight, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        return Quoted(text) + " is out of range";
    if (error != std::errc() || stop != end)
        return Quoted(text) + " is not a number";
    if (!std::isfinite(weight))
        return Quoted(text) + " is not a finite number";
    return {};
}
