// Loads arbitrary bytes as a diary and draws it: the first five bytes choose
// the window (width and height, 0 to 4096 each) and the switches (bits 0-2
// the three averages, bits 3-4 the date-label style). Drawing must end
// with the surface as it found it, whatever the records hold.
#include "doc/tarelog_doc.h"
#include "platform/archive.h"
#include "platform/memory_profile_store.h"
#include "platform/recording_surface.h"
#include "view/draw_graph.h"

#include <cstdint>
#include <string_view>

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
    for (int i = 0; i < 10; ++i)
        state.m_colorSlots[i] = 0x101010u * static_cast<unsigned>(i);
    MemoryProfileStore profile;
    profile.WriteProfileInt("SHOW", "X", (flags >> 3) & 3);

    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    DrawGraph(surface, Rect{0, 0, width, height}, doc, state, profile);
    if (surface.DeletedWhileSelected() != 0 || surface.SelectedPen() != PenHandle::Stock
        || surface.SelectedBrush() != BrushHandle::Stock || surface.PensCreated() != surface.PensDeleted()
        || surface.BrushesCreated() != surface.BrushesDeleted())
        __builtin_trap();
    return 0;
}
