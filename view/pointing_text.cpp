#include "view/pointing_text.h"

#include "platform/calendar_date.h"
#include "platform/format.h"
#include "view/draw_graph.h"
#include "view/record_days.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* kWideSpace = "\u3000";

std::string DateText(std::int64_t dayNumber)
{
    const CalendarDate date = CalendarDate::FromDayNumber(dayNumber);
    return FormatString("%04d/%02d/%02d", date.Year(), date.Month(), date.Day());
}

std::string RecordDateText(const WeightRecord& record)
{
    return DateText(CalendarDate::FromYmd(record.year, record.month, record.day).DayNumber());
}

} // namespace

std::string MarkedDayText(const WeightRecord& record, double trend, int digits, std::string_view unitUtf8)
{
    const std::string unit(unitUtf8);
    // A diary kept without decimals still reads its day to a tenth, as the
    // list editor shows it.
    return RecordDateText(record) + kWideSpace + ScaleLabel(record.weight, std::max(digits, 1), unit) + kWideSpace
        + "傾向 " + FormatString("%.1f", trend) + unit;
}

std::string ShownSpanText(DaySpan days)
{
    return "表示 " + DateText(days.first) + "〜" + DateText(days.last);
}

std::string GraphDescription(std::span<const WeightRecord> shown, const DiaryStats& stats, int digits,
    std::string_view unitUtf8, const std::string& marked)
{
    if (stats.entries == 0)
        return kFirstWeightHint;
    const std::string unit(unitUtf8);
    std::string text;
    if (!shown.empty()) {
        RecordDays days;
        std::int64_t first = INT64_MAX, last = INT64_MIN;
        for (const WeightRecord& record : shown) {
            first = std::min(first, days.Of(record));
            last = std::max(last, days.Of(record));
        }
        text = DateText(first) + "から" + DateText(last) + "までの記録 " + FormatString("%zu", shown.size()) + " 件。";
    }
    text += "最新 " + ScaleLabel(stats.last.weight, digits, unit) + "、傾向 " + FormatString("%.1f", stats.trend) + unit
        + "。";
    if (!marked.empty())
        text += "選択 " + marked + "。";
    return text;
}
