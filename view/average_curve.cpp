#include "view/average_curve.h"

#include "view/client_size.h"
#include "view/saturating_math.h"

#include <cstdint>

int AverageHeight(const ColumnTable& table, int plotBottom, int column, int halfWidth)
{
    // Summed afresh per column, in this order, so that rounding is the
    // same wherever the curve is drawn.
    const auto height = [&](int j) { return static_cast<double>(static_cast<std::int64_t>(plotBottom) - table.At(j).y); };
    double sum = 0.0;
    for (int weight = 1; weight < halfWidth; ++weight)
        sum += height(column - halfWidth + weight) * static_cast<double>(weight);
    for (int weight = halfWidth; weight >= 1; --weight)
        sum += height(column + halfWidth - weight) * static_cast<double>(weight);
    return TruncToInt(sum / static_cast<double>(halfWidth * halfWidth));
}

void DrawAverageCurve(Surface& surface, const Rect& client, int leftMargin, int plotBottom,
                      const ColumnTable& table, int halfWidth, Color color)
{
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    const ColumnTable::Entry start = table.At(leftMargin);
    surface.MoveTo(start.x, start.y);
    const int width = ClientWidth(client);
    for (int i = halfWidth; i < width; ++i) {
        const int y = SaturateInt(static_cast<std::int64_t>(plotBottom) - AverageHeight(table, plotBottom, i, halfWidth));
        if (i < leftMargin)
            surface.MoveTo(i, y);
        else
            surface.LineTo(i, y);
    }
    surface.SelectPen(previous);
    surface.DeletePen(pen);
}
