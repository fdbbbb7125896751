#include "view/day_pointing.h"

#include "view/record_columns.h"
#include "view/saturating_math.h"

#include <array>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <vector>

std::optional<std::size_t> NearestShownRecord(std::span<const WeightRecord> shown, const GraphLayout& layout, int x)
{
    if (!layout.drawn || shown.empty())
        return std::nullopt;
    RecordColumns columns(shown, layout.geometry.kx, static_cast<double>(layout.leftMargin));
    std::size_t best = 0;
    int bestColumn = 0;
    std::int64_t bestDistance = INT64_MAX;
    // One pass, in any order of records: a lifetime of days is 36,500.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const int column = columns.Of(shown[i]);
        const std::int64_t distance = std::llabs(static_cast<std::int64_t>(column) - x);
        // In the column already chosen the later record wins; an equally
        // near column on the other side does not.
        if (distance < bestDistance || (distance == bestDistance && column == bestColumn)) {
            best = i;
            bestColumn = column;
            bestDistance = distance;
        }
    }
    return best;
}

Point ShownRecordPoint(std::span<const WeightRecord> shown, const GraphLayout& layout, std::size_t index)
{
    RecordColumns columns(shown, layout.geometry.kx, static_cast<double>(layout.leftMargin));
    return {columns.Of(shown[index]), WeightY(layout.geometry, shown[index].weight)};
}

namespace {

// A circle of `radius` as a closed polygon of 24 sides.
std::array<Point, 25> Circle(Point at, int radius)
{
    constexpr double kTurn = 6.283185307179586;
    std::array<Point, 25> points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double angle = kTurn * static_cast<double>(i % 24) / 24.0;
        points[i] = {SaturateInt(static_cast<std::int64_t>(at.x) + std::lround(radius * std::cos(angle))),
            SaturateInt(static_cast<std::int64_t>(at.y) + std::lround(radius * std::sin(angle)))};
    }
    return points;
}

} // namespace

void DrawDayMark(Surface& surface, Point at, Color color)
{
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    for (const int radius : {5, 6}) {
        const std::array<Point, 25> ring = Circle(at, radius);
        surface.MoveTo(ring[0].x, ring[0].y);
        surface.PolylineTo(std::span<const Point>(ring).subspan(1));
    }
    surface.SelectPen(previous);
    surface.DeletePen(pen);
}
