#include "view/average_curve.h"

#include "view/client_size.h"
#include "view/saturating_math.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The weighted sum around `center`, whose heights are center[-n + 1] to
// center[n - 1]. Summed afresh per column, term by term in double, in this
// order: left of the centre with weights 1 up to n - 1, then the centre and
// the right with n down to 1.
int WindowAverage(const double* center, int n)
{
    double sum = 0.0;
    for (int weight = 1; weight < n; ++weight)
        sum += center[weight - n] * static_cast<double>(weight);
    for (int weight = n; weight >= 1; --weight)
        sum += center[n - weight] * static_cast<double>(weight);
    return TruncToInt(sum / static_cast<double>(n * n));
}

double HeightOf(const ColumnTable& table, int plotBottom, int column)
{
    return static_cast<double>(static_cast<std::int64_t>(plotBottom) - table.At(column).y);
}

} // namespace

int AverageHeight(const ColumnTable& table, int plotBottom, int column, int halfWidth)
{
    std::vector<double> window;
    for (int j = column - halfWidth + 1; j <= column + halfWidth - 1; ++j)
        window.push_back(HeightOf(table, plotBottom, j));
    return WindowAverage(window.data() + (halfWidth - 1), halfWidth);
}

void DrawAverageCurve(Surface& surface, const Rect& client, int leftMargin, int plotBottom,
                      const ColumnTable& table, int halfWidth, Color color)
{
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    const ColumnTable::Entry start = table.At(leftMargin);
    surface.MoveTo(start.x, start.y);
    const int width = ClientWidth(client);
    // Every height the windows read, columns 1 to W + n - 2, worked out once.
    std::vector<double> heights(static_cast<std::size_t>(std::max(0, width + halfWidth)));
    for (int j = 0; j < static_cast<int>(heights.size()); ++j)
        heights[static_cast<std::size_t>(j)] = HeightOf(table, plotBottom, j);
    for (int i = halfWidth; i < width; ++i) {
        const int y = SaturateInt(static_cast<std::int64_t>(plotBottom) - WindowAverage(heights.data() + i, halfWidth));
        if (i < leftMargin)
            surface.MoveTo(i, y);
        else
            surface.LineTo(i, y);
    }
    surface.SelectPen(previous);
    surface.DeletePen(pen);
}
