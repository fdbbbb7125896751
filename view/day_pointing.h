#pragma once

#include "diary/weight_record.h"
#include "platform/surface.h"
#include "view/draw_graph.h"

#include <cstddef>
#include <optional>
#include <span>

// Reading a day off the graph: which of the shown records a pixel column
// points at, where its point lies, and the ring that marks it. Everything
// comes from the layout of the paint that drew them, so the answers follow
// the range, the zoom and the filled plot as the drawing does.

// The index, among `shown`, of the record drawn nearest column x (only the
// column counts). Of several records in that column the last by index, the
// one the weight line ends its visit of the column on. Nothing when the
// paint drew nothing.
std::optional<std::size_t> NearestShownRecord(std::span<const WeightRecord> shown, const GraphLayout& layout, int x);

// The point of shown record `index`, as the weight line drew it.
Point ShownRecordPoint(std::span<const WeightRecord> shown, const GraphLayout& layout, std::size_t index);

// A ring, two pixels thick, around `at`: it leaves the point itself and the
// line through it visible.
void DrawDayMark(Surface& surface, Point at, Color color);
