#include "view/draw_graph.h"

#include "platform/format.h"
#include "view/average_curve.h"
#include "view/client_size.h"
#include "view/column_table.h"
#include "view/record_columns.h"
#include "view/saturating_math.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace {

constexpr const char* kDateSample = "88/88";

// Everything one paint derives from the document and the client area.
struct Geometry {
    int width = 0;  // W
    int height = 0; // H
    int plot = 0;   // P: the plot's side in pixels
    int bottom = 0; // B: where the smallest weight lies
    double minWeight = 0.0;
    double maxWeight = 0.0;
    double range = 0.0; // R
    double step = 0.0;  // the scale step
    double kx = 0.0;    // pixels per day
    double ky = 0.0;    // pixels per weight unit
};

Geometry ComputeGeometry(const Rect& client, const CTarelogDoc& doc)
{
    Geometry g;
    g.width = ClientWidth(client);
    g.height = ClientHeight(client);
    const CTarelogDoc::WeightRange weights = doc.GetWeightRange();
    g.maxWeight = weights.max;
    g.minWeight = weights.min;
    const double span = static_cast<double>(doc.GetDaySpan());
    const double daysAcross = span < 10.0 ? 10.0 : span * 1.1;
    g.plot = std::min(g.width, g.height) - 40;
    g.bottom = g.plot + 30;
    g.range = g.maxWeight - g.minWeight;
    g.step = g.range * 0.1;
    g.kx = static_cast<double>(g.plot) / daysAcross;
    g.ky = static_cast<double>(g.plot) / g.range;
    return g;
}

// Row of a weight. With no range to spread over, every point sits on the
// plot's middle row.
int WeightY(const Geometry& g, double weight)
{
    if (g.range == 0.0)
        return 30 + g.plot / 2;
    return SaturateInt(static_cast<std::int64_t>(g.plot) - TruncToInt((weight - g.minWeight) * g.ky) + 30);
}

// Draws the scale rows and returns the last measured extent.
TextSize DrawWeightScale(Surface& surface, const Geometry& g, const CTarelogDoc& doc, const GraphViewState& state,
    TextSize last)
{
    if (!(g.step > 0.001 && g.minWeight < g.maxWeight + 1.0))
        return last;
    const std::string unit = ToUtf8(DrawnUnit(doc.m_unit));
    const double limit = g.maxWeight + 1.0;
    // Bounded twice: weights so large that adding the step changes nothing
    // would never reach the limit, and a tiny window would stack thousands
    // of rows that it cannot show.
    int rows = 0;
    for (double t = g.minWeight; t < limit && rows < g.height; ++rows) {
        const int y = SaturateInt(static_cast<std::int64_t>(g.plot) - TruncToInt((t - g.minWeight) * g.ky) + 30);
        if (static_cast<std::int64_t>(y) - last.height / 2 < 0)
            break;
        const std::string label = ScaleLabel(t, doc.m_digits, unit);
        last = surface.MeasureText(label);
        const Color previous = surface.SetTextColor(state.m_colorSlots[kSlotScaleText]);
        surface.TextOut(3, SaturateInt(static_cast<std::int64_t>(y) - last.height / 2), label);
        surface.SetTextColor(previous);
        surface.MoveTo(SaturateInt(static_cast<std::int64_t>(last.width) + 3), y);
        surface.LineTo(g.width - 5, y);
        const double next = t + g.step;
        if (next == t)
            break;
        t = next;
    }
    return last;
}

void DrawDateLabels(Surface& surface, const Geometry& g, const CTarelogDoc& doc, const GraphViewState& state,
    const ProfileStore& profile, RecordColumns columns)
{
    // Twelve pixels below the plot bottom, which in a window taller than
    // wide is just below the square plot. A window wider than tall (most
    // desktop windows) has its plot bottom 10 pixels above the window's
    // bottom edge, so there the labels are raised until they fit.
    const std::int64_t belowPlot = static_cast<std::int64_t>(g.bottom) + 12;
    TextSize last = surface.MeasureText(kDateSample);
    std::int64_t prev = -static_cast<std::int64_t>(last.width);
    for (const WeightRecord& record : doc.Records()) {
        const int x = columns.Of(record);
        if (x - prev <= static_cast<std::int64_t>(last.width) + 4)
            continue;
        const std::string label = DateLabel(DateLabelStyle(profile), record.year, record.month, record.day);
        last = surface.MeasureText(label);
        const Color previous = surface.SetTextColor(state.m_colorSlots[kSlotDate]);
        const int row = SaturateInt(std::min(belowPlot, static_cast<std::int64_t>(g.height) - last.height));
        surface.TextOut(std::max<int>(0, SaturateInt(static_cast<std::int64_t>(x) - last.width / 2)), row, label);
        surface.SetTextColor(previous);
        surface.MoveTo(x, g.bottom);
        surface.LineTo(x, 10);
        prev = x;
    }
}

// Draws the weight line and the marker, filling the table on the way;
// returns the marker's brush, which lives until the end of the paint. The
// line goes to the surface in batches, which a surface may draw faster than
// point by point.
BrushHandle DrawWeightLine(Surface& surface, const Geometry& g, const CTarelogDoc& doc, Color color,
    RecordColumns columns, ColumnTable& table)
{
    std::array<Point, 512> batch;
    std::size_t batched = 0;
    int x = 0;
    int y = 0;
    bool first = true;
    for (const WeightRecord& record : doc.Records()) {
        x = columns.Of(record);
        y = WeightY(g, record.weight);
        table.Store(x, y);
        if (first) {
            surface.MoveTo(x, y);
            first = false;
            continue;
        }
        batch[batched++] = {x, y};
        if (batched == batch.size()) {
            surface.PolylineTo(batch);
            batched = 0;
        }
    }
    surface.PolylineTo(std::span<const Point>(batch.data(), batched));
    const BrushHandle markerBrush = surface.CreateSolidBrush(color);
    const BrushHandle previous = surface.SelectBrush(markerBrush);
    const auto at = [](int base, int delta) { return SaturateInt(static_cast<std::int64_t>(base) + delta); };
    surface.DrawFigure({at(x, -2), at(y, -2), at(x, 3), at(y, 3)});
    surface.SelectBrush(previous);
    return markerBrush;
}

void DrawAverages(Surface& surface, const Rect& client, const Geometry& g, const GraphViewState& state, int leftMargin,
    const ColumnTable& table)
{
    if (state.m_avgNarrow)
        DrawAverageCurve(surface, client, leftMargin, g.bottom, table, kNarrowHalfWidth,
            state.m_colorSlots[kSlotNarrowAverage]);
    if (state.m_avgNormal)
        DrawAverageCurve(surface, client, leftMargin, g.bottom, table, kNormalHalfWidth,
            state.m_colorSlots[kSlotNormalAverage]);
    if (state.m_avgWide)
        DrawAverageCurve(surface, client, leftMargin, g.bottom, table, kWideHalfWidth,
            state.m_colorSlots[kSlotWideAverage]);
}

} // namespace

std::string DateLabel(int style, int year, int month, int day)
{
    if (style == 2)
        return FormatString("%02d/%02d/%02d", year % 100, month, day);
    if (style == 3)
        return FormatString("%02d%02d%02d", year % 100, month, day);
    return FormatString("%d/%d", month, day);
}

std::u16string_view DrawnUnit(std::u16string_view unit)
{
    if (unit.size() <= kMaxDrawnUnitLength)
        return unit;
    std::size_t keep = kMaxDrawnUnitLength;
    // Never half of a surrogate pair.
    if (unit[keep - 1] >= 0xD800 && unit[keep - 1] <= 0xDBFF)
        --keep;
    return unit.substr(0, keep);
}

std::string ScaleLabel(double t, int digits, const std::string& unitUtf8)
{
    const std::string format = FormatString("%%.%df%%s", std::clamp(digits, 0, kMaxLabelDigits));
    return FormatRuntime(format.c_str(), t, unitUtf8.c_str());
}

void DrawGraph(Surface& surface, const Rect& client, const CTarelogDoc& doc, const GraphViewState& state,
    const ProfileStore& profile)
{
    if (doc.GetRecordCount() == 0)
        return;
    const Geometry g = ComputeGeometry(client, doc);

    const PenHandle scalePen = surface.CreateSolidPen(state.m_colorSlots[kSlotAxis]);
    const PenHandle previousPen = surface.SelectPen(scalePen);
    const TextSize last = DrawWeightScale(surface, g, doc, state, surface.MeasureText(kDateSample));
    const int leftMargin = SaturateInt(static_cast<std::int64_t>(last.width) + 3);

    const PenHandle datePen = surface.CreateSolidPen(state.m_colorSlots[kSlotDate]);
    surface.SelectPen(datePen);
    const RecordColumns columns(doc, g.kx, static_cast<double>(leftMargin));
    DrawDateLabels(surface, g, doc, state, profile, columns);

    const PenHandle linePen = surface.CreateSolidPen(state.m_colorSlots[kSlotLine]);
    surface.SelectPen(linePen);
    ColumnTable table(g.width, leftMargin);
    const BrushHandle markerBrush = DrawWeightLine(surface, g, doc, state.m_colorSlots[kSlotLine], columns, table);
    table.FillGaps(leftMargin, g.width + 29);

    DrawAverages(surface, client, g, state, leftMargin, table);

    surface.SelectPen(previousPen);
    surface.DeleteBrush(markerBrush);
    surface.DeletePen(scalePen);
    surface.DeletePen(datePen);
    surface.DeletePen(linePen);
}
