#pragma once

#include "diary/weight_record.h"
#include "platform/surface.h"
#include "view/saturating_math.h"

#include <cstdint>
#include <optional>
#include <span>

// Everything one paint derives from the records and the client area.
struct GraphGeometry {
    int width = 0;  // W
    int height = 0; // H
    int plot = 0;   // P: the plot's height in pixels (and its width when square)
    int bottom = 0; // B: where the smallest weight lies
    double minWeight = 0.0;
    double maxWeight = 0.0;
    double range = 0.0; // R
    double step = 0.0;  // the scale step
    double daysAcross = 0.0;
    double kx = 0.0; // pixels per day
    double ky = 0.0; // pixels per weight unit
    // Filling the window: the plot takes its own width and height, and the
    // date labels have a row of their own below the lowest scale label.
    bool fill = false;
    int dateRow = 0; // the labels' top edge when filling
};

// What stretches the weight scale beyond the records' own weights.
struct ScaleExtras {
    std::span<const double> trend; // the trend values drawn, if any
    std::optional<double> goal;
};

// The square plot, P = min(W, H) - 40, or with `fill` the plot over the
// whole client area. `labelHeight` is the height of the date sample, which
// the filled layout keeps clear below the plot.
// `weights` are the records' WeightRangeOf, which the caller has at hand.
GraphGeometry ComputeGeometry(const Rect& client, std::span<const WeightRecord> records, double minWeight,
    double maxWeight, const ScaleExtras& extras, bool fill, int labelHeight);

// A filled plot spreads the days over the width right of the left margin,
// which is known only once the scale has been drawn.
void FitDaysToWidth(GraphGeometry& g, int leftMargin);

// Row of a weight. With no range to spread over, every point sits on the
// plot's middle row. Inline: called once per record and line.
inline int WeightY(const GraphGeometry& g, double weight)
{
    if (g.range == 0.0)
        return 30 + g.plot / 2;
    return SaturateInt(static_cast<std::int64_t>(g.plot) - TruncToInt((weight - g.minWeight) * g.ky) + 30);
}
