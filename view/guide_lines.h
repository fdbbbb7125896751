#pragma once

#include "platform/surface.h"
#include "view/graph_geometry.h"
#include "view/record_columns.h"
#include "view/record_days.h"
#include "diary/diary_stats.h"

#include <cstdint>

#include <optional>
#include <span>
#include <vector>

// The points of the trend line, at each record's column and the height of
// its trend value, `trend[i]` belonging to `records[i]`. Points that add no
// pixel are left out (see LinePoints). Records known to be `inOrder` have
// their columns' ends found without a visit to each.
std::vector<Point> TrendPoints(const GraphGeometry& g, std::span<const WeightRecord> records,
    std::span<const double> trend, RecordColumns columns, bool inOrder = false);

// A million days share a few thousand columns, and a line visits each of
// its points; inside one column it only runs up and down. The pixels that a
// column's vertical runs cover are every row from its lowest point to its
// highest, except an extreme row that no run starts from (the line ends on
// it, or stays on it to the end). So a column's points are replaced by its
// first point, its two extremes in the order the line reaches them, one
// row back from the second where the line leaves it only to come back at
// the end, and its last point: the same pixels, and the segments into and
// out of the column keep their ends.
class LinePoints {
public:
    void Add(Point p)
    {
        if (!m_open || p.x != m_first.x) {
            Close();
            Open(p);
            return;
        }
        if (p.y < m_low) {
            m_low = p.y;
            m_lowFirst = m_index;
            m_lowLeft = false;
        } else if (p.y != m_low) {
            m_lowLeft = true;
        }
        if (p.y > m_high) {
            m_high = p.y;
            m_highFirst = m_index;
            m_highLeft = false;
        } else if (p.y != m_high) {
            m_highLeft = true;
        }
        m_last = p;
        ++m_index;
    }
    // The same as Add of (x, y) for each of `ys` in turn: a column's run of
    // points at once, summarised in one plain pass instead of a branchy
    // step per point.
    void AddColumn(int x, std::span<const int> ys);
    std::vector<Point> Take()
    {
        Close();
        return std::move(m_points);
    }

private:
    void Open(Point p)
    {
        m_open = true;
        m_first = m_last = p;
        m_low = m_high = p.y;
        m_lowFirst = m_highFirst = 0;
        m_lowLeft = m_highLeft = false;
        m_index = 1;
    }
    void Emit(int y)
    {
        const Point p{m_first.x, y};
        if (m_points.empty() || m_points.back().x != p.x || m_points.back().y != p.y)
            m_points.push_back(p);
    }
    void Close()
    {
        if (!m_open)
            return;
        m_open = false;
        m_points.push_back(m_first); // the end of the segment into the column
        if (m_low == m_high)
            return;
        const bool lowFirst = m_lowFirst < m_highFirst;
        const int second = lowFirst ? m_high : m_low;
        const bool leftSecond = lowFirst ? m_highLeft : m_lowLeft;
        Emit(lowFirst ? m_low : m_high);
        Emit(second);
        if (m_last.y == second && leftSecond)
            Emit(second + (lowFirst ? -1 : 1));
        Emit(m_last.y);
    }

    std::vector<Point> m_points;
    bool m_open = false;
    Point m_first, m_last;
    int m_low = 0, m_high = 0;
    long long m_lowFirst = 0, m_highFirst = 0, m_index = 0;
    bool m_lowLeft = false, m_highLeft = false;
};

// The trend points of a whole diary, worked out while the weight line's
// pass visits its records in order: the trend's chain of additions then
// runs beside that pass's own work instead of in a pass of its own. None
// when the records turn out not to be in date order, whose trend needs them
// sorted first (ShownTrend).
class TrendWalk {
public:
    explicit TrendWalk(const GraphGeometry& g);

    // Inline: called once per record.
    void Visit(const WeightRecord& record, int x)
    {
        const std::int64_t day = m_days.Of(record);
        m_inOrder = m_inOrder && day >= m_previousDay;
        m_previousDay = day;
        m_trend = m_started ? NextTrend(m_trend, record.weight) : record.weight;
        m_started = true;
        m_line.Add({x, WeightY(m_g, m_trend)});
    }
    std::optional<std::vector<Point>> Take();

private:
    const GraphGeometry& m_g;
    LinePoints m_line;
    RecordDays m_days;
    std::int64_t m_previousDay = INT64_MIN;
    double m_trend = 0.0;
    bool m_started = false;
    bool m_inOrder = true;
};

// A line through `points`, the first moved to; leaves the surface with the
// pen it had.
void DrawPolyline(Surface& surface, std::span<const Point> points, Color color);

// The goal: a horizontal line at the goal weight from the left margin to
// where the grid lines end. Leaves the surface with the pen it had.
void DrawGoalLine(Surface& surface, const GraphGeometry& g, int leftMargin, double goal, Color color);
