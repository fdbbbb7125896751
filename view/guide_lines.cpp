#include "view/guide_lines.h"

#include "diary/diary_stats.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

std::vector<Point> TrendPoints(const GraphGeometry& g, std::span<const WeightRecord> records,
    std::span<const double> trend, RecordColumns columns, bool inOrder)
{
    LinePoints line;
    records = records.first(std::min(records.size(), trend.size()));
    std::size_t i = 0;
    std::size_t lastRun = 1;
    while (i < records.size()) {
        const int x = columns.Of(records[i]);
        std::size_t end = i + 1;
        if (inOrder)
            end = FirstColumnBeyond(records, end, x, columns, lastRun - 1);
        else
            while (end < records.size() && columns.Of(records[end]) == x)
                ++end;
        for (std::size_t k = i; k < end; ++k)
            line.Add({x, WeightY(g, trend[k])});
        lastRun = end - i;
        i = end;
    }
    return line.Take();
}

TrendWalk::TrendWalk(const GraphGeometry& g)
    : m_g(g)
{
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
