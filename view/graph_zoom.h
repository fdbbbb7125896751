#pragma once

#include "diary/tarelog_doc.h"
#include "view/day_span.h"
#include "view/draw_graph.h"
#include "view/graph_view_state.h"

#include <cstdint>
#include <optional>

// Zooming and panning the date axis. A zoom is a span of days; the graph
// shows the records within it, cut as a range cuts. Every span these give
// lies within the diary's own days.

// A zoom never shows fewer days than a week.
inline constexpr std::int64_t kFewestZoomedDays = 7;

// From the diary's earliest to its latest record; nothing without records.
std::optional<DaySpan> DiaryDays(const CTarelogDoc& doc);

// The days the graph shows now: the zoom, else the range's days (no
// earlier than the diary's first), else the whole diary's.
std::optional<DaySpan> ShownDays(const CTarelogDoc& doc, const GraphViewState& state);

// The day under column x, in fractions of a day: the paint put the first
// shown record, dated `firstShownDay`, at the left margin.
double DayAtColumn(const GraphLayout& layout, std::int64_t firstShownDay, int x);

// `shown` scaled by `factor` (below 1 zooms in) keeping `aroundDay` where it
// was, no shorter than kFewestZoomedDays, moved back inside `diary` when it
// would leave it. Nothing when it takes in the whole diary: the whole view.
std::optional<DaySpan> ZoomedSpan(DaySpan shown, DaySpan diary, double aroundDay, double factor);

// `shown` moved by `days` (later when positive), stopped at the diary's ends.
DaySpan PannedSpan(DaySpan shown, DaySpan diary, std::int64_t days);
