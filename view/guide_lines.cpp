#include "view/guide_lines.h"

#include "doc/diary_stats.h"
#include "platform/calendar_date.h"

#include <array>
#include <cstddef>
#include <cstdint>

std::vector<Point> TrendPoints(const GraphGeometry& g, std::span<const WeightRecord> records,
    std::span<const double> trend, RecordColumns columns)
{
    LinePoints line;
    for (std::size_t i = 0; i < records.size() && i < trend.size(); ++i)
        line.Add({columns.Of(records[i]), WeightY(g, trend[i])});
    return line.Take();
}

TrendWalk::TrendWalk(const GraphGeometry& g)
    : m_g(g)
{
}

void TrendWalk::EnterMonth(const WeightRecord& record, std::int64_t month)
{
    m_month = month;
    m_monthStart = CalendarDate::FromYmd(record.year, record.month, 1).DayNumber();
}

std::optional<std::vector<Point>> TrendWalk::Take()
{
    if (!m_inOrder)
        return std::nullopt;
    return m_line.Take();
}

void DrawPolyline(Surface& surface, std::span<const Point> points, Color color)
{
    if (points.empty())
        return;
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    surface.MoveTo(points[0].x, points[0].y);
    surface.PolylineTo(points.subspan(1));
    surface.SelectPen(previous);
    surface.DeletePen(pen);
}

void DrawGoalLine(Surface& surface, const GraphGeometry& g, int leftMargin, double goal, Color color)
{
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    const int y = WeightY(g, goal);
    surface.MoveTo(leftMargin, y);
    surface.LineTo(g.width - 5, y);
    surface.SelectPen(previous);
    surface.DeletePen(pen);
}
