#pragma once

#include "diary/tarelog_doc.h"
#include "platform/profile_store.h"
#include "platform/surface.h"
#include "view/draw_graph.h"
#include "view/graph_view_state.h"
#include "view/paint_cache.h"

#include <cstddef>
#include <optional>

// What the window paints over the graph that images and `render` leave
// out: on an empty diary, one line in the middle saying how to record the
// first weight; on the day marked by pointing or the keyboard, a ring in
// the weight line's colour. Returns the graph's layout for the next
// pointing.
GraphLayout DrawWindowGraph(Surface& surface, const Rect& client, const CTarelogDoc& doc, const GraphViewState& state,
    const ProfileStore& profile, PaintCache* cache, std::optional<std::size_t> markedDiaryIndex);

// The index among `shown` of the diary's record `diaryIndex`, if shown.
std::optional<std::size_t> ShownIndexOf(const ShownRecords& shown, std::size_t diaryIndex);
