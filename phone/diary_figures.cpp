#include "phone/diary_figures.h"

#include "platform/calendar_date.h"
#include "platform/format.h"
#include "platform/memory_profile_store.h"
#include "platform/svg_surface.h"
#include "platform/text_measurer.h"
#include "view/draw_graph.h"
#include "view/status_text.h"
#include "view/view_settings.h"

#include <algorithm>

namespace {

std::int64_t DayNumberOf(const WeightRecord& record)
{
    return CalendarDate::FromYmd(record.year, record.month, record.day).DayNumber();
}

} // namespace

PageSettings ReadPageSettings(const ProfileStore* profile, const std::string& diaryPath)
{
    PageSettings settings;
    if (profile == nullptr)
        return settings;
    GraphViewState state;
    state.LoadColors(*profile);
    std::copy(std::begin(state.m_colorSlots), std::end(state.m_colorSlots), settings.colors.begin());
    settings.goal = LoadGoal(*profile, diaryPath);
    settings.dateStyle = DateLabelStyle(*profile);
    return settings;
}

DiaryFigures FiguresOf(const CTarelogDoc& doc, const PageSettings& settings)
{
    DiaryFigures figures;
    figures.unit = ToUtf8(DrawnUnit(doc.m_unit));
    figures.digits = doc.m_digits;
    figures.stats = ComputeDiaryStats(doc.Records());
    figures.goal = settings.goal;
    figures.statusText = IdleStatusText(figures.stats, figures.goal, figures.unit);
    if (figures.stats.entries == 0)
        return figures;
    const std::int64_t last = DayNumberOf(figures.stats.last);
    for (const WeightRecord& record : doc.Records()) {
        const std::int64_t day = DayNumberOf(record);
        if (day > last - kRecentDays && day <= last)
            figures.recentDays.push_back(record);
    }
    // One weight a day, the last of the day as the trend takes it.
    std::stable_sort(figures.recentDays.begin(), figures.recentDays.end(),
        [](const WeightRecord& a, const WeightRecord& b) { return DayNumberOf(a) < DayNumberOf(b); });
    std::vector<WeightRecord> days;
    for (const WeightRecord& record : figures.recentDays) {
        if (!days.empty() && DayNumberOf(days.back()) == DayNumberOf(record))
            days.back() = record;
        else
            days.push_back(record);
    }
    figures.recentDays = std::move(days);
    return figures;
}

std::string RecentGraphSvg(const CTarelogDoc& doc, const PageSettings& settings)
{
    GraphViewState state;
    std::copy(settings.colors.begin(), settings.colors.end(), std::begin(state.m_colorSlots));
    state.m_rangeDays = kRecentDays;
    state.m_fill = true;
    state.m_trend = true;
    state.m_goal = settings.goal;
    // The drawing reads the date-label style from a profile.
    MemoryProfileStore profile;
    profile.WriteProfileInt(kShowSection, kDateStyleEntry, settings.dateStyle);
    // A monospace face measured as such: the labels fit wherever the page
    // is shown, without the fonts of this machine.
    const FixedWidthMeasurer measurer(7, 13, 11);
    SvgSurface surface(measurer, kGraphWidth, kGraphHeight, "monospace", 12);
    DrawGraph(surface, Rect{0, 0, kGraphWidth, kGraphHeight}, doc, state, profile);
    std::string svg = surface.Document();
    // Inline in HTML: no XML declaration, and a label for screen readers.
    if (const std::size_t start = svg.find("<svg"); start != std::string::npos)
        svg.erase(0, start);
    svg.insert(4, " role=\"img\" aria-label=\"最近4週間のグラフ\" class=\"graph\"");
    return svg;
}
