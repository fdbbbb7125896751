#include "view/window_graph.h"

#include "view/client_size.h"
#include "view/day_pointing.h"
#include "view/pointing_text.h"

#include <algorithm>

namespace {

void DrawFirstWeightHint(Surface& surface, const Rect& client, Color color)
{
    const TextSize size = surface.MeasureText(kFirstWeightHint);
    const int left = std::max(0, (ClientWidth(client) - size.width) / 2);
    const int top = std::max(0, (ClientHeight(client) - size.height) / 2);
    const Color previous = surface.SetTextColor(color);
    surface.TextOut(client.left + left, client.top + top, kFirstWeightHint);
    surface.SetTextColor(previous);
}

} // namespace

std::optional<std::size_t> ShownIndexOf(const ShownRecords& shown, std::size_t diaryIndex)
{
    for (std::size_t i = 0; i < shown.Records().size(); ++i)
        if (shown.DiaryIndex(i) == diaryIndex)
            return i;
    return std::nullopt;
}

GraphLayout DrawWindowGraph(Surface& surface, const Rect& client, const CTarelogDoc& doc, const GraphViewState& state,
    const ProfileStore& profile, PaintCache* cache, std::optional<std::size_t> markedDiaryIndex)
{
    GraphLayout layout;
    DrawGraph(surface, client, doc, state, profile, cache, &layout);
    if (doc.Records().empty()) {
        DrawFirstWeightHint(surface, client, state.m_colorSlots[kSlotScaleText]);
        return layout;
    }
    if (!markedDiaryIndex || !layout.drawn)
        return layout;
    const ShownRecords shown = ShownRecordsOf(doc, state);
    if (const std::optional<std::size_t> i = ShownIndexOf(shown, *markedDiaryIndex))
        DrawDayMark(surface, ShownRecordPoint(shown.Records(), layout, *i), state.m_colorSlots[kSlotLine]);
    return layout;
}
