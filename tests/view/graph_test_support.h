#pragma once

#include "diary/tarelog_doc.h"
#include "platform/format.h"
#include "platform/memory_profile_store.h"
#include "platform/recording_surface.h"
#include "view/draw_graph.h"
#include "view/graph_view_state.h"

#include <sstream>
#include <string>
#include <vector>

struct Day {
    double weight;
    int year;
    int month;
    int day;
};

inline CTarelogDoc MakeDoc(const std::vector<Day>& days, int digits = 1, const std::u16string& unit = u"kg")
{
    CTarelogDoc doc;
    for (const Day& d : days)
        doc.AppendRecord(WeightRecord{d.weight, static_cast<std::int16_t>(d.year), static_cast<std::int16_t>(d.month),
            static_cast<std::int16_t>(d.day), {0, 0}});
    doc.m_digits = digits;
    doc.m_unit = unit;
    return doc;
}

// Every slot a different colour, so each line of a recording says which
// slot it came from: slot i is 0x00A0A0A0 + i.
inline GraphViewState DistinctColors()
{
    GraphViewState state;
    for (int i = 0; i < 10; ++i)
        state.m_colorSlots[i] = 0x00A0A0A0u + static_cast<Color>(i);
    return state;
}

inline std::string SlotColor(int slot)
{
    return HexColor(0x00A0A0A0u + static_cast<Color>(slot));
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Draws with 6-pixel characters, 12 pixels high, and returns the recording
// as text lines (the first is the client line).
struct GraphRun {
    FixedWidthMeasurer measurer{6, 12, 10};
    RecordingSurface surface{measurer};
    MemoryProfileStore profile;

    std::vector<std::string> Draw(const CTarelogDoc& doc, const GraphViewState& state, Rect client = {0, 0, 240, 268})
    {
        DrawGraph(surface, client, doc, state, profile);
        return Lines(OpsText(client, surface.Ops()));
    }
};

inline std::vector<std::string> OfKind(const std::vector<SurfaceOp>& ops, SurfaceOp::Kind kind)
{
    std::vector<std::string> out;
    for (const SurfaceOp& op : ops)
        if (op.kind == kind)
            out.push_back(OpLine(op));
    return out;
}
