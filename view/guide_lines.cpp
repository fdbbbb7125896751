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
    std::vector<int> ys;
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
        ys.resize(end - i);
        for (std::size_t k = 0; k < ys.size(); ++k)
            ys[k] = WeightY(g, trend[i + k]);
        line.AddColumn(x, ys);
        lastRun = end - i;
        i = end;
    }
    return line.Take();
}

void LinePoints::AddColumn(int x, std::span<const int> ys)
{
    if (ys.empty())
        return;
    if (m_open && x == m_first.x) {
        for (const int y : ys)
            Add({x, y});
        return;
    }
    Close();
    Open({x, ys.front()});
    // Add keeps the first index of each extreme, and marks it left once a
    // later point lies elsewhere.
    std::size_t low = 0;
    std::size_t high = 0;
    for (std::size_t k = 1; k < ys.size(); ++k) {
        low = ys[k] < ys[low] ? k : low;
        high = ys[k] > ys[high] ? k : high;
    }
    m_low = ys[low];
    m_high = ys[high];
    m_lowFirst = static_cast<long long>(low);
    m_highFirst = static_cast<long long>(high);
    m_lowLeft = std::any_of(ys.begin() + static_cast<std::ptrdiff_t>(low) + 1, ys.end(),
        [this](int y) { return y != m_low; });
    m_highLeft = std::any_of(ys.begin() + static_cast<std::ptrdiff_t>(high) + 1, ys.end(),
        [this](int y) { return y != m_high; });
    m_last = {x, ys.back()};
    m_index = static_cast<long long>(ys.size());
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
