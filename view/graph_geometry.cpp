#include "view/graph_geometry.h"

#include "diary/tarelog_doc.h"
#include "view/client_size.h"
#include "view/saturating_math.h"

#include <algorithm>
#include <cstdint>

namespace {

void Include(double value, double& min, double& max)
{
    if (value < min)
        min = value;
    if (value > max)
        max = value;
}

} // namespace

GraphGeometry ComputeGeometry(const Rect& client, std::span<const WeightRecord> records, double minWeight,
    double maxWeight, const ScaleExtras& extras, bool fill, int labelHeight)
{
    GraphGeometry g;
    g.width = ClientWidth(client);
    g.height = ClientHeight(client);
    g.maxWeight = maxWeight;
    g.minWeight = minWeight;
    for (const double t : extras.trend)
        Include(t, g.minWeight, g.maxWeight);
    if (extras.goal)
        Include(*extras.goal, g.minWeight, g.maxWeight);
    const double span = static_cast<double>(DaySpanOf(records));
    g.daysAcross = span < 10.0 ? 10.0 : span * 1.1;
    g.fill = fill;
    if (fill) {
        // The date row sits at the window's bottom edge, and the plot ends
        // far enough above it that the lowest scale label, centred on the
        // plot bottom, ends before the row begins.
        const std::int64_t labels = std::max(labelHeight, 0);
        g.dateRow = SaturateInt(static_cast<std::int64_t>(g.height) - labels - 2);
        g.bottom = SaturateInt(static_cast<std::int64_t>(g.dateRow) - std::max<std::int64_t>(12, labels));
        g.plot = SaturateInt(static_cast<std::int64_t>(g.bottom) - 30);
    } else {
        g.plot = std::min(g.width, g.height) - 40;
        g.bottom = g.plot + 30;
    }
    g.range = g.maxWeight - g.minWeight;
    g.step = g.range * 0.1;
    g.kx = static_cast<double>(g.plot) / g.daysAcross;
    g.ky = static_cast<double>(g.plot) / g.range;
    return g;
}

void FitDaysToWidth(GraphGeometry& g, int leftMargin)
{
    // Ten pixels short of the right edge, as the grid lines stop five short
    // of it; the days across already leave a tenth of the plot free.
    const std::int64_t across = static_cast<std::int64_t>(g.width) - leftMargin - 10;
    g.kx = static_cast<double>(across) / g.daysAcross;
}
