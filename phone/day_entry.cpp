#include "phone/day_entry.h"

#include "platform/calendar_date.h"
#include "platform/format.h"
#include "platform/number_text.h"

#include <charconv>
#include <cmath>

namespace {

bool ParseDigits(std::string_view text, int& value)
{
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

long long DateOrder(int year, int month, int day)
{
    return (static_cast<long long>(year) * 100 + month) * 100 + day;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

EntryProblem CheckEntryWeight(double weight)
{
    if (!std::isfinite(weight))
        return EntryProblem::WeightNotFinite;
    if (weight <= 0.0)
        return EntryProblem::WeightNotPositive;
    return EntryProblem::None;
}

EntryProblem ReadEntryWeight(std::string_view text, double& weight)
{
    std::string core(Trimmed(FoldWideNumberText(text)));
    // The dialog drops one leading plus sign, which from_chars does not take.
    if (!core.empty() && core.front() == '+')
        core.erase(0, 1);
    if (core.empty())
        return EntryProblem::EmptyWeight;
    double value = 0.0;
    switch (ParseFiniteNumber(core, value)) {
    case NumberProblem::None: break;
    case NumberProblem::NotFinite:
    case NumberProblem::OutOfRange: return EntryProblem::WeightNotFinite;
    case NumberProblem::NotANumber: return EntryProblem::WeightNotANumber;
    }
    if (const EntryProblem problem = CheckEntryWeight(value); problem != EntryProblem::None)
        return problem;
    weight = value;
    return EntryProblem::None;
}

EntryProblem ReadEntryDate(std::string_view text, DayWeight& entry)
{
    const std::string folded = FoldWideNumberText(text);
    const std::string_view date = Trimmed(folded);
    if (date.empty())
        return EntryProblem::DateMissing;
    // YYYY-MM-DD; a year of more digits parses, so that 10000-01-01 is
    // refused for its range and not for its form.
    const std::size_t dash = date.find('-');
    int year = 0, month = 0, day = 0;
    if (dash == std::string_view::npos || dash < 4 || date.size() != dash + 6 || date[dash + 3] != '-'
        || !ParseDigits(date.substr(0, dash), year) || !ParseDigits(date.substr(dash + 1, 2), month)
        || !ParseDigits(date.substr(dash + 4, 2), day))
        return EntryProblem::DateNotADay;
    if (!IsRealDate(year, month, day))
        return EntryProblem::DateNotADay;
    const auto key = DateOrder(year, month, day);
    if (key < DateOrder(kFirstEntryYear, 9, 14) || key > DateOrder(kLastEntryYear, 12, 31))
        return EntryProblem::DateOutOfRange;
    entry.year = year;
    entry.month = month;
    entry.day = day;
    return EntryProblem::None;
}

std::string DateText(int year, int month, int day)
{
    return FormatString("%04d-%02d-%02d", year, month, day);
}

std::string JapaneseProblem(EntryProblem problem)
{
    switch (problem) {
    case EntryProblem::None: return {};
    case EntryProblem::EmptyWeight: return "体重を入力してください。";
    case EntryProblem::WeightNotANumber: return "数値を入力してください。";
    case EntryProblem::WeightNotFinite: return "体重は有限の数値で入力してください。";
    case EntryProblem::WeightNotPositive: return "体重は0より大きい数値で入力してください。";
    case EntryProblem::DateMissing: return "日付を入力してください。";
    case EntryProblem::DateNotADay: return "存在する日付を入力してください。";
    case EntryProblem::DateOutOfRange: return "1752/09/14 から 9999/12/31 までの日付を入力してください。";
    }
    return {};
}

std::string EnglishProblem(EntryProblem problem)
{
    switch (problem) {
    case EntryProblem::None: return {};
    case EntryProblem::EmptyWeight: return "weight is missing";
    case EntryProblem::WeightNotANumber: return "weight is not a number";
    case EntryProblem::WeightNotFinite: return "weight must be a finite number";
    case EntryProblem::WeightNotPositive: return "weight must be above zero";
    case EntryProblem::DateMissing: return "date is missing";
    case EntryProblem::DateNotADay: return "date must be a calendar day in the form YYYY-MM-DD";
    case EntryProblem::DateOutOfRange: return "date must lie between 1752-09-14 and 9999-12-31";
    }
    return {};
}
