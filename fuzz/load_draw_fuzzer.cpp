// Loads arbitrary bytes as a diary and draws it: the first five bytes choose
// the window (width and height, 0 to 4096 each) and the switches (bits 0-2
// the three averages, bits 3-4 the date-label style, bit 5 the window's own
// font measurer instead of the fixed-width one). Drawing must end with the
// surface as it found it, whatever the records hold, and no text it
// measures or draws may be longer than a label can be: text of unbounded
// length would make every paint as slow as the file is hostile.
#include "diary/tarelog_doc.h"
#include "platform/archive.h"
#include "platform/memory_profile_store.h"
#include "platform/recording_surface.h"
#include "platform/qt/offscreen_gui.h"
#include "platform/qt/qpainter_surface.h"
#include "view/draw_graph.h"
#include "diary/profile_keys.h"

#include <cstdint>
#include <string_view>

namespace {

// A scale label is a number of at most 20 decimals and a bounded part of
// the unit; date labels are shorter.
constexpr std::size_t kLongestLabel = 400;

TextMeasurer& QtMeasurer()
{
    EnsureOffscreenGuiApplication("load_draw");
    static GraphFontMeasurer measurer;
    return measurer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const int width = (data[0] | (data[1] << 8)) % 4097;
    const int height = (data[2] | (data[3] << 8)) % 4097;
    const std::uint8_t flags = data[4];

    CTarelogDoc doc;
    CArchive archive = CArchive::ForLoading(std::string_view(reinterpret_cast<const char*>(data + 5), size - 5));
    try {
        doc.Serialize(archive);
    } catch (const ArchiveError&) {
        return 0;
    }
    GraphViewState state;
    state.m_avgNarrow = flags & 1;
    state.m_avgNormal = flags & 2;
    state.m_avgWide = flags & 4;
    // The view menu: a recent range in a filled plot, the trend with a goal
    // at the first weight.
    state.m_fill = flags & 64;
    state.m_rangeDays = (flags & 64) ? 28 : 0;
    state.m_trend = flags & 128;
    if ((flags & 128) && doc.GetRecordCount() > 0)
        state.m_goal = doc.GetRecord(0).weight;
    for (int i = 0; i < 10; ++i)
        state.m_colorSlots[i] = 0x101010u * static_cast<unsigned>(i);
    MemoryProfileStore profile;
    profile.WriteProfileInt(kShowSection, kDateStyleEntry, (flags >> 3) & 3);

    FixedWidthMeasurer fixed;
    RecordingSurface surface((flags & 32) ? QtMeasurer() : fixed);
    DrawGraph(surface, Rect{0, 0, width, height}, doc, state, profile);
    for (const SurfaceOp& op : surface.Ops())
        if (op.text.size() > kLongestLabel)
            __builtin_trap();
    if (surface.DeletedWhileSelected() != 0 || surface.SelectedPen() != PenHandle::Stock
        || surface.SelectedBrush() != BrushHandle::Stock || surface.PensCreated() != surface.PensDeleted()
        || surface.BrushesCreated() != surface.BrushesDeleted())
        __builtin_trap();
    return 0;
}
