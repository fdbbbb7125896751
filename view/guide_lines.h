#pragma once

#include "platform/surface.h"
#include "view/graph_geometry.h"
#include "view/record_columns.h"

#include <span>

// The trend: a line through every shown record's column at the height of its
// trend value, `trend[i]` belonging to `records[i]`. Leaves the surface with
// the pen it had.
void DrawTrendLine(Surface& surface, const GraphGeometry& g, std::span<const WeightRecord> records,
    std::span<const double> trend, RecordColumns columns, Color color);

// The goal: a horizontal line at the goal weight from the left margin to
// where the grid lines end. Leaves the surface with the pen it had.
void DrawGoalLine(Surface& surface, const GraphGeometry& g, int leftMargin, double goal, Color color);
