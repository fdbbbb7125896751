#include "view/draw_graph.h"

#include "platform/format.h"
#include "view/average_curve.h"
#include "view/client_size.h"
#include "view/column_table.h"
#include "view/graph_geometry.h"
#include "view/guide_lines.h"
#include "view/paint_cache.h"
#include "view/record_columns.h"
#include "view/saturating_math.h"
#include "view/shown_records.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace {

constexpr const char* kDateSample = "88/88";

// What one paint draws from: the shown records and the diary's unit and
// digits.
struct GraphData {
    std::span<const WeightRecord> records;
    const std::u16string& unit;
    int digits;
};

// Draws the scale rows and returns the last measured extent.
// A filled plot may be too low for a label on every row: a row whose label
// would run into the one drawn below it is left out, line and all, as date
// labels too close together are.
TextSize DrawWeightScale(Surface& surface, const GraphGeometry& g, const GraphData& data, const GraphViewState& state,
    TextSize last)
{
    if (!(g.step > 0.001 && g.minWeight < g.maxWeight + 1.0))
        return last;
    const std::string unit = ToUtf8(DrawnUnit(data.unit));
    std::int64_t drawnTop = INT64_MAX; // the top edge of the label drawn last
    const double limit = g.maxWeight + 1.0;
    // Bounded twice: weights so large that adding the step changes nothing
    // would never reach the limit, and a tiny window would stack thousands
    // of rows that it cannot show.
    int rows = 0;
    for (double t = g.minWeight; t < limit && rows < g.height; ++rows) {
        const int y = SaturateInt(static_cast<std::int64_t>(g.plot) - TruncToInt((t - g.minWeight) * g.ky) + 30);
        if (static_cast<std::int64_t>(y) - last.height / 2 < 0)
            break;
        const bool crowded = g.fill && y + static_cast<std::int64_t>(last.height) - last.height / 2 > drawnTop;
        const double next = t + g.step;
        if (crowded) {
            if (next == t)
                break;
            t = next;
            continue;
        }
        const std::string label = ScaleLabel(t, data.digits, unit);
        last = surface.MeasureText(label);
        drawnTop = static_cast<std::int64_t>(y) - last.height / 2;
        const Color previous = surface.SetTextColor(state.m_colorSlots[kSlotScaleText]);
        surface.TextOut(3, SaturateInt(static_cast<std::int64_t>(y) - last.height / 2), label);
        surface.SetTextColor(previous);
        surface.MoveTo(SaturateInt(static_cast<std::int64_t>(last.width) + 3), y);
        surface.LineTo(g.width - 5, y);
        if (next == t)
            break;
        t = next;
    }
    return last;
}

// The square plot skips a label while its record lies within the previous
// label's width + 4; a filled plot also skips one whose left edge would come
// within 4 pixels of the previous label's right edge, so that a wide label
// after a narrow one ("12/31" after "1/1") never runs into it. Records
// `inOrder` skip the first way without a visit each.
void DrawDateLabels(Surface& surface, const GraphGeometry& g, const GraphData& data, const GraphViewState& state,
    const ProfileStore& profile, RecordColumns columns, bool inOrder)
{
    // Twelve pixels below the plot bottom, which in a window taller than
    // wide is just below the square plot. A window wider than tall (most
    // desktop windows) has its plot bottom 10 pixels above the window's
    // bottom edge, so there the labels are raised until they fit.
    const std::int64_t belowPlot = static_cast<std::int64_t>(g.bottom) + 12;
    TextSize last = surface.MeasureText(kDateSample);
    std::int64_t prev = -static_cast<std::int64_t>(last.width);
    int drawnWidth = last.width;
    std::int64_t drawnRight = INT64_MIN;
    const std::span<const WeightRecord> records = data.records;
    std::size_t i = 0;
    while (i < records.size()) {
        const WeightRecord& record = records[i];
        const int x = columns.Of(record);
        const std::int64_t limit = prev + static_cast<std::int64_t>(g.fill ? drawnWidth : last.width) + 4;
        if (x <= limit) {
            i = inOrder ? FirstColumnBeyond(records, i + 1, limit, columns) : i + 1;
            continue;
        }
        ++i;
        const std::string label = DateLabel(DateLabelStyle(profile), record.year, record.month, record.day);
        last = surface.MeasureText(label);
        const int left = std::max<int>(0, SaturateInt(static_cast<std::int64_t>(x) - last.width / 2));
        if (g.fill && left < drawnRight + 4)
            continue;
        const Color previous = surface.SetTextColor(state.m_colorSlots[kSlotDate]);
        const int row = g.fill ? g.dateRow
                               : SaturateInt(std::min(belowPlot, static_cast<std::int64_t>(g.height) - last.height));
        surface.TextOut(left, row, label);
        surface.SetTextColor(previous);
        drawnWidth = last.width;
        drawnRight = static_cast<std::int64_t>(left) + last.width;
        surface.MoveTo(x, g.bottom);
        surface.LineTo(x, 10);
        prev = x;
    }
}

// Draws the weight line and the marker, filling the table on the way;
// returns the marker's brush, which lives until the end of the paint. The
// line goes to the surface in batches, which a surface may draw faster than
// point by point.
BrushHandle DrawWeightLine(Surface& surface, const GraphGeometry& g, const GraphData& data, Color color,
    RecordColumns columns, ColumnTable& table, TrendWalk* trend)
{
    std::array<Point, 512> batch;
    std::size_t batched = 0;
    int x = 0;
    int y = 0;
    bool first = true;
    for (const WeightRecord& record : data.records) {
        x = columns.Of(record);
        y = WeightY(g, record.weight);
        table.Store(x, y);
        if (trend)
            trend->Visit(record, x);
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

void DrawAverages(Surface& surface, const Rect& client, const GraphGeometry& g, const GraphViewState& state,
    int leftMargin, const ColumnTable& table)
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

// The trend's points: from the values known before the weight line's pass,
// or those the pass worked out, or (a diary out of date order) from its
// sorted records.
class TrendLine {
public:
    TrendLine(const GraphGeometry& g, std::span<const WeightRecord> records, std::span<const double> known,
        RecordColumns columns, bool inOrder)
    {
        if (known.empty())
            m_walk.emplace(g);
        else
            m_points = TrendPoints(g, records, known, columns, inOrder);
    }
    TrendWalk* Walk() { return m_walk ? &*m_walk : nullptr; }
    std::vector<Point> Take(const GraphGeometry& g, const CTarelogDoc& doc, const ShownRecords& shown,
        RecordColumns columns)
    {
        if (!m_walk)
            return std::move(m_points);
        if (auto points = m_walk->Take())
            return std::move(*points);
        return TrendPoints(g, shown.Records(), ShownTrend(doc, shown), columns);
    }

private:
    std::optional<TrendWalk> m_walk;
    std::vector<Point> m_points;
};

// The trend of every shown record, when it is at hand before the weight
// line's pass: kept by the window, or needed for the scale. Empty when the
// pass is to work it out.
std::span<const double> KnownTrend(const CTarelogDoc& doc, const ShownRecords& shown, bool whole, bool neededForScale,
    PaintCache* cache, std::vector<double>& gathered)
{
    if (cache) {
        const std::span<const double> all = cache->Trend(doc);
        if (whole)
            return all;
        for (std::size_t i = 0; i < shown.Records().size(); ++i)
            gathered.push_back(all[shown.DiaryIndex(i)]);
        return gathered;
    }
    if (neededForScale)
        gathered = ShownTrend(doc, shown);
    return gathered;
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

ShownRecords ShownRecordsOf(const CTarelogDoc& doc, const GraphViewState& state)
{
    return state.m_zoom ? ShownRecords(doc, *state.m_zoom) : ShownRecords(doc, state.m_rangeDays);
}

void DrawGraph(Surface& surface, const Rect& client, const CTarelogDoc& doc, const GraphViewState& state,
    const ProfileStore& profile, PaintCache* cache, GraphLayout* layout)
{
    if (layout)
        *layout = GraphLayout{};
    const ShownRecords shown = ShownRecordsOf(doc, state);
    const GraphData data{shown.Records(), doc.m_unit, doc.m_digits};
    if (data.records.empty())
        return;
    const bool whole = data.records.size() == doc.Records().size();
    const CTarelogDoc::WeightRange weights = cache && whole ? cache->Weights(doc) : WeightRangeOf(data.records);
    // The trend of the whole diary lies within its weights (each value is
    // an average of them), so only a range, or weights that are all zero or
    // below, need the values before the scale is made.
    const bool trendInsideScale = whole && !(weights.min <= 0.0 && weights.max < 0.0);
    std::vector<double> gathered;
    const std::span<const double> trend = state.m_trend
        ? KnownTrend(doc, shown, whole, !trendInsideScale, cache, gathered)
        : std::span<const double>();

    const PenHandle scalePen = surface.CreateSolidPen(state.m_colorSlots[kSlotAxis]);
    const PenHandle previousPen = surface.SelectPen(scalePen);
    const TextSize sample = surface.MeasureText(kDateSample);
    GraphGeometry g = ComputeGeometry(client, data.records, weights.min, weights.max,
        {trendInsideScale ? std::span<const double>() : trend, state.m_goal}, state.m_fill, sample.height);
    const TextSize last = DrawWeightScale(surface, g, data, state, sample);
    const int leftMargin = SaturateInt(static_cast<std::int64_t>(last.width) + 3);
    if (g.fill)
        FitDaysToWidth(g, leftMargin);

    const PenHandle datePen = surface.CreateSolidPen(state.m_colorSlots[kSlotDate]);
    surface.SelectPen(datePen);
    const RecordColumns columns(data.records, g.kx, static_cast<double>(leftMargin));
    if (layout)
        *layout = GraphLayout{true, g, leftMargin};
    const bool inOrder = cache && whole && g.kx >= 0.0 && cache->InDateOrder(doc);
    std::optional<TrendLine> trendLine;
    if (state.m_trend)
        trendLine.emplace(g, data.records, trend, columns, inOrder);
    DrawDateLabels(surface, g, data, state, profile, columns, inOrder);
    // Under the weight line, like the grid it is read against.
    if (state.m_goal)
        DrawGoalLine(surface, g, leftMargin, *state.m_goal, state.m_colorSlots[kSlotGoal]);

    const PenHandle linePen = surface.CreateSolidPen(state.m_colorSlots[kSlotLine]);
    surface.SelectPen(linePen);
    ColumnTable table(g.width, leftMargin);
    const BrushHandle markerBrush = DrawWeightLine(surface, g, data, state.m_colorSlots[kSlotLine], columns, table,
        trendLine ? trendLine->Walk() : nullptr);
    table.FillGaps(leftMargin, g.width + 29);

    DrawAverages(surface, client, g, state, leftMargin, table);
    if (trendLine)
        DrawPolyline(surface, trendLine->Take(g, doc, shown, columns), state.m_colorSlots[kSlotTrend]);

    surface.SelectPen(previousPen);
    surface.DeleteBrush(markerBrush);
    surface.DeletePen(scalePen);
    surface.DeletePen(datePen);
    surface.DeletePen(linePen);
}
