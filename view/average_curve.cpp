#include "view/average_curve.h"

#include "view/client_size.h"
#include "view/saturating_math.h"

#include <cstdint>
#include <vector>

namespace {

std::int64_t HeightOf(const ColumnTable& table, int plotBottom, int column)
{
    return static_cast<std::int64_t>(plotBottom) - table.At(column).y;
}

// The curve's height at every column from n to W - 1, the same numbers that
// AverageHeight gives one by one. Heights are integers of at most 2^32 and
// the weights add up to n * n, so no partial sum of the weighted terms comes
// near 2^53: the double sum of the drawing rule is exact and equals the
// integer sum. The integer sum can slide: moving the centre one column to
// the right adds the n heights right of it and takes away the n heights up
// to it, so a column costs the same for every n.
std::vector<int> CurveHeights(const ColumnTable& table, int plotBottom, int width, int n)
{
    std::vector<int> result;
    if (width <= n)
        return result;
    result.reserve(static_cast<std::size_t>(width - n));
    // Every height the windows and the sliding read, columns 0 to W + n - 1.
    std::vector<std::int64_t> heights(static_cast<std::size_t>(width) + static_cast<std::size_t>(n));
    for (std::size_t j = 0; j < heights.size(); ++j)
        heights[j] = HeightOf(table, plotBottom, static_cast<int>(j));
    const auto h = [&heights](int column) { return heights[static_cast<std::size_t>(column)]; };

    std::int64_t sum = 0;   // the weighted window around column i
    std::int64_t left = 0;  // heights i - n + 1 to i
    std::int64_t right = 0; // heights i + 1 to i + n
    for (int k = 1 - n; k < n; ++k)
        sum += h(n + k) * (n - (k < 0 ? -k : k));
    for (int j = 1; j <= n; ++j) {
        left += h(j);
        right += h(n + j);
    }
    const double divisor = static_cast<double>(n * n);
    for (int i = n;; ++i) {
        result.push_back(TruncToInt(static_cast<double>(sum) / divisor));
        if (i + 1 >= width)
            break;
        sum += right - left;
        left += h(i + 1) - h(i - n + 1);
        right += h(i + n + 1) - h(i + 1);
    }
    return result;
}

} // namespace

// Term by term in double, in this order: left of the centre with weights
// 1 up to n - 1, then the centre and the right with n down to 1.
int AverageHeight(const ColumnTable& table, int plotBottom, int column, int halfWidth)
{
    const int n = halfWidth;
    double sum = 0.0;
    for (int weight = 1; weight < n; ++weight)
        sum += static_cast<double>(HeightOf(table, plotBottom, column + weight - n)) * static_cast<double>(weight);
    for (int weight = n; weight >= 1; --weight)
        sum += static_cast<double>(HeightOf(table, plotBottom, column + n - weight)) * static_cast<double>(weight);
    return TruncToInt(sum / static_cast<double>(n * n));
}

void DrawAverageCurve(Surface& surface, const Rect& client, int leftMargin, int plotBottom, const ColumnTable& table,
    int halfWidth, Color color)
{
    const PenHandle pen = surface.CreateSolidPen(color);
    const PenHandle previous = surface.SelectPen(pen);
    const ColumnTable::Entry start = table.At(leftMargin);
    surface.MoveTo(start.x, start.y);
    if (halfWidth >= 1 && halfWidth <= kMaxAverageHalfWidth) {
        const int width = ClientWidth(client);
        const std::vector<int> heights = CurveHeights(table, plotBottom, width, halfWidth);
        for (int i = halfWidth; i < width; ++i) {
            const int y = SaturateInt(
                static_cast<std::int64_t>(plotBottom) - heights[static_cast<std::size_t>(i - halfWidth)]);
            if (i < leftMargin)
                surface.MoveTo(i, y);
            else
                surface.LineTo(i, y);
        }
    }
    surface.SelectPen(previous);
    surface.DeletePen(pen);
}
