#include "view/guide_lines.h"

#include <array>
#include <cstddef>

void DrawTrendLine(Surface& surface, const GraphGeometry& g, std::span<const WeightRecord> records,
    std::span<const double> trend, RecordColumns columns, Color color)
{
    if (records.empty() || trend.size() != records.size())
        return;
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    surface.MoveTo(columns.Of(records[0]), WeightY(g, trend[0]));
    // In batches, as the weight line goes.
    std::array<Point, 512> batch;
    std::size_t batched = 0;
    for (std::size_t i = 1; i < records.size(); ++i) {
        batch[batched++] = {columns.Of(records[i]), WeightY(g, trend[i])};
        if (batched == batch.size()) {
            surface.PolylineTo(batch);
            batched = 0;
        }
    }
    surface.PolylineTo(std::span<const Point>(batch.data(), batched));
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
