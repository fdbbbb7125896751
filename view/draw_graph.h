#pragma once

#include "diary/tarelog_doc.h"
#include "platform/profile_store.h"
#include "platform/surface.h"
#include "view/graph_geometry.h"
#include "view/graph_view_state.h"
#include "view/paint_cache.h"
#include "view/shown_records.h"

// Draws the whole graph of `doc` into the client area, from scratch: weight
// scale and horizontal grid, date labels and vertical grid, the goal line,
// the weight line, a marker on the last record, the switched-on averages
// and the trend line, in that order. A range draws exactly what the graph
// of a diary holding only the range's records would draw (ShownRecords);
// the trend and the goal stretch the scale to take them in. A document
// without records draws nothing. The surface is left with the pen, brush
// and text colour it had.
//
// A window passes the `cache` it keeps for the diary: the drawing is the
// same, call for call, and a repaint of a long diary is faster. It also
// passes a `layout` to learn where the records were drawn, for pointing.
struct GraphLayout;
void DrawGraph(Surface& surface, const Rect& client, const CTarelogDoc& doc, const GraphViewState& state,
    const ProfileStore& profile, PaintCache* cache = nullptr, GraphLayout* layout = nullptr);

// Where one paint put the shown records: record r of them lies in column
// RecordColumns(shown, geometry.kx, leftMargin).Of(r) and on row
// WeightY(geometry, r.weight). `drawn` is false when nothing was drawn.
struct GraphLayout {
    bool drawn = false;
    GraphGeometry geometry;
    int leftMargin = 0;
};

// The records the graph of `state` shows: the zoomed days, or the range.
ShownRecords ShownRecordsOf(const CTarelogDoc& doc, const GraphViewState& state);

// The date label of one record in the given style: 2 is "yy/mm/dd", 3 is
// "yymmdd", anything else "m/d".
std::string DateLabel(int style, int year, int month, int day);

// The two-step scale label: t with `digits` decimals followed by the unit.
std::string ScaleLabel(double t, int digits, const std::string& unitUtf8);

// The decimals a scale label may carry; a file can hold any digit count.
inline constexpr int kMaxLabelDigits = 20;

// The part of the unit text the scale labels show. A real unit is a few
// characters; a damaged or hostile file may hold millions, which would make
// every paint measure and draw them all. The file keeps the whole text.
inline constexpr std::size_t kMaxDrawnUnitLength = 16;
std::u16string_view DrawnUnit(std::u16string_view unit);
