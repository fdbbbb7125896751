#include "view/graph_zoom.h"

#include "view/record_days.h"

#include <algorithm>
#include <cmath>

std::optional<DaySpan> DiaryDays(const CTarelogDoc& doc)
{
    if (doc.Records().empty())
        return std::nullopt;
    RecordDays days;
    DaySpan span{INT64_MAX, INT64_MIN};
    for (const WeightRecord& record : doc.Records()) {
        const std::int64_t day = days.Of(record);
        span.first = std::min(span.first, day);
        span.last = std::max(span.last, day);
    }
    return span;
}

std::optional<DaySpan> ShownDays(const CTarelogDoc& doc, const GraphViewState& state)
{
    if (state.m_zoom)
        return state.m_zoom;
    std::optional<DaySpan> diary = DiaryDays(doc);
    if (diary && state.m_rangeDays > 0)
        diary->first = std::max(diary->first, diary->last - state.m_rangeDays + 1);
    return diary;
}

double DayAtColumn(const GraphLayout& layout, std::int64_t firstShownDay, int x)
{
    const double kx = layout.geometry.kx;
    if (!(kx > 0.0))
        return static_cast<double>(firstShownDay);
    return static_cast<double>(firstShownDay) + (x - layout.leftMargin) / kx;
}

namespace {

DaySpan Inside(std::int64_t first, std::int64_t days, DaySpan diary)
{
    first = std::clamp(first, diary.first, diary.last - days + 1);
    return {first, first + days - 1};
}

} // namespace

std::optional<DaySpan> ZoomedSpan(DaySpan shown, DaySpan diary, double aroundDay, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor) || !std::isfinite(aroundDay))
        return shown;
    const double before = static_cast<double>(shown.Days());
    const double wanted = std::round(before * factor);
    if (wanted >= static_cast<double>(diary.Days()))
        return std::nullopt;
    const std::int64_t days = std::max(kFewestZoomedDays, static_cast<std::int64_t>(wanted));
    if (days >= diary.Days())
        return std::nullopt;
    // The pointer's day keeps its place in the span: as far into the new
    // span, in parts of it, as it was into the old one.
    const double around = std::clamp(aroundDay, static_cast<double>(shown.first), static_cast<double>(shown.last + 1));
    const double first = around - (around - static_cast<double>(shown.first)) * static_cast<double>(days) / before;
    return Inside(static_cast<std::int64_t>(std::llround(first)), days, diary);
}

DaySpan PannedSpan(DaySpan shown, DaySpan diary, std::int64_t days)
{
    const std::int64_t length = std::min(shown.Days(), diary.Days());
    return Inside(shown.first + days, length, diary);
}
