#pragma once

#include "platform/surface.h"
#include "view/column_table.h"

// Half-widths of the three moving averages, in pixel columns.
inline constexpr int kNarrowHalfWidth = 10;
inline constexpr int kNormalHalfWidth = 20;
inline constexpr int kWideHalfWidth = 30;
// The widest window a curve can be drawn with.
inline constexpr int kMaxAverageHalfWidth = 1000;

// One moving average of the gap-filled table: for every column from n to
// W - 1 the heights of the 2n - 1 columns around it, weighted 1, 2, ..., n,
// ..., 2, 1. Drawn from the left margin L on; B is the plot's bottom row.
// A half-width outside 1 to kMaxAverageHalfWidth draws only the first move.
// Leaves the surface with the pen it had.
void DrawAverageCurve(Surface& surface, const Rect& client, int leftMargin, int plotBottom, const ColumnTable& table,
    int halfWidth, Color color);

// The curve's height above the plot bottom at column i, truncated toward
// zero: the weighted sum in double, added left to right, divided by n * n.
// This is the drawing rule, column by column; the curve gets the same
// numbers from a sliding sum.
int AverageHeight(const ColumnTable& table, int plotBottom, int column, int halfWidth);
