#pragma once

#include "platform/surface.h"
#include "view/graph_geometry.h"
#include "view/line_points.h"
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
