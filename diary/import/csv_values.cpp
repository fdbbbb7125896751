#include "diary/import/csv_values.h"

#include "diary/import/shown_text.h"
#include "platform/calendar_date.h"
#include "platform/number_text.h"

#include <algorithm>

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

bool IsDigit(std::string_view text, std::size_t pos)
{
    return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
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

// Z, or +HH, +HHMM, +HH:MM (or '-'), up to the end of the text.
bool ReadOffset(std::string_view text, std::size_t& pos, bool& utc, int& minutesEast)
{
    if (text[pos] == 'Z' || text[pos] == 'z') {
        utc = true;
        minutesEast = 0;
        return ++pos == text.size();
    }
    if (text[pos] != '+' && text[pos] != '-')
        return false;
    const int sign = text[pos++] == '-' ? -1 : 1;
    int hours = 0, minutes = 0;
    if (!Digits(text, pos, 2, hours))
        return false;
    if (pos < text.size()) {
        if (text[pos] == ':')
            ++pos;
        if (!Digits(text, pos, 2, minutes))
            return false;
    }
    minutesEast = sign * (hours * 60 + minutes);
    return hours <= 23 && minutes <= 59 && pos == text.size();
}

// HH:MM[:SS[.fraction]]; with `oneDigitHour`, H:MM too (a fraction of any
// length is read and dropped: a day is chosen by the second).
bool ReadClock(std::string_view text, std::size_t& pos, bool oneDigitHour, int& second)
{
    int hours = 0, minutes = 0, seconds = 0;
    const std::size_t hourWidth = oneDigitHour && !IsDigit(text, pos + 1) ? 1 : 2;
    if (!Digits(text, pos, hourWidth, hours) || !Expect(text, pos, ':') || !Digits(text, pos, 2, minutes))
        return false;
    if (hours > 23 || minutes > 59)
        return false;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        if (!Digits(text, pos, 2, seconds) || seconds > 60) // 60: a leap second
            return false;
        if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
            const std::size_t start = ++pos;
            while (IsDigit(text, pos))
                ++pos;
            if (pos == start)
                return false;
        }
    }
    second = hours * 3600 + minutes * 60 + std::min(seconds, 59);
    return true;
}

// What of a timestamp failed to read, so the message can say which part.
enum class Shape { Good, BadDateOrTime, BadOffset };

// After a space, Withings' German export writes "6:04 Uhr".
Shape ReadTimeAndOffset(std::string_view text, std::size_t& pos, bool afterSpace, CsvTimestamp& stamp)
{
    if (!ReadClock(text, pos, afterSpace, stamp.second))
        return Shape::BadDateOrTime;
    if (pos == text.size() || (afterSpace && text.substr(pos) == " Uhr"))
        return Shape::Good;
    if (text[pos] == ' ' && pos + 1 < text.size())
        ++pos; // Apple Health writes "08:00:00 +0100"
    int ignored = 0;
    return ReadOffset(text, pos, stamp.utc, ignored) ? Shape::Good : Shape::BadOffset;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != lower[i])
            return false;
    }
    return true;
}

} // namespace

std::string ParseCsvTimestamp(std::string_view text, CsvTimestamp& stamp)
{
    if (text.empty())
        return "no date";
    stamp = CsvTimestamp{};
    std::size_t pos = 0;
    Shape shape = ReadYmdOrDmy(text, pos, stamp.date) ? Shape::Good : Shape::BadDateOrTime;
    if (shape == Shape::Good && pos < text.size()) {
        const char c = text[pos++];
        shape = c == 'T' || c == 't' || c == ' ' ? ReadTimeAndOffset(text, pos, c == ' ', stamp) : Shape::BadDateOrTime;
    }
    if (shape == Shape::BadOffset)
        return ShownText(text) + " ends in an offset from UTC that is not Z, +HH, +HHMM or +HH:MM";
    if (shape != Shape::Good)
        return ShownText(text) + " is not a date (YYYY-MM-DD, YYYY/MM/DD, DD.MM.YYYY or a timestamp)";
    if (!IsRealDate(stamp.date.year, stamp.date.month, stamp.date.day))
        return ShownText(text) + " is not a calendar date";
    return {};
}

std::string ParseCsvDate(std::string_view text, CsvDate& date)
{
    CsvTimestamp stamp;
    std::string problem = ParseCsvTimestamp(text, stamp);
    date = stamp.date;
    return problem;
}

std::string ParseCsvTimeOfDay(std::string_view text, int& second)
{
    std::size_t pos = 0;
    bool shaped = ReadClock(text, pos, true, second);
    if (shaped && pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        const bool am = EqualsIgnoringCase(rest, " am"), pm = EqualsIgnoringCase(rest, " pm");
        const int hour = second / 3600;
        shaped = (am || pm) && hour >= 1 && hour <= 12;
        if (shaped)
            second = (hour % 12 + (pm ? 12 : 0)) * 3600 + second % 3600;
    }
    if (!shaped)
        return ShownText(text) + " is not a time of day";
    return {};
}

std::string ParseUtcOffset(std::string_view text, int& minutes)
{
    std::size_t pos = 0;
    if (text.size() > 3
        && (EqualsIgnoringCase(text.substr(0, 3), "utc") || EqualsIgnoringCase(text.substr(0, 3), "gmt")))
        pos = 3;
    bool utc = false;
    if (pos >= text.size() || !ReadOffset(text, pos, utc, minutes))
        return ShownText(text) + " is not an offset from UTC";
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
            return ShownText(text) + " is not a number";
        withPoint[comma] = '.';
        number = withPoint;
    }
    switch (ParseFiniteNumber(number, weight)) {
    case NumberProblem::None: return {};
    case NumberProblem::OutOfRange: return ShownText(text) + " is out of range";
    case NumberProblem::NotANumber: return ShownText(text) + " is not a number";
    case NumberProblem::NotFinite: return ShownText(text) + " is not a finite number";
    }
    return {};
}
