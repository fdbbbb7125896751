#pragma once

#include "platform/profile_store.h"
#include "platform/surface.h"
#include "diary/profile_keys.h"
#include "view/day_span.h"

#include <optional>

// The graph's display state: ten colour slots kept in the profile from one
// run to the next, three average switches that every run starts off, and
// what the view menu adds. With the view menu's defaults (every record,
// the square plot, no trend, no goal) the graph is drawn as it always was.
class GraphViewState {
public:
    void LoadColors(const ProfileStore& profile); // section "色", entries "0".."9", default 0
    void SaveColors(ProfileStore& profile) const; // all ten, every time
    bool m_avgNarrow = false, m_avgNormal = false, m_avgWide = false;
    Color m_colorSlots[10] = {};

    int m_rangeDays = 0; // the latest days shown; 0 for every record
    bool m_fill = false; // the plot over the whole client area
    bool m_trend = false;
    std::optional<double> m_goal;
    // The days the wheel or a pinch zoomed to, moved by dragging; while
    // set it is shown instead of the range. Never kept in the profile.
    std::optional<DaySpan> m_zoom;
};

// What each colour slot paints; slot 9 has no role and is carried.
enum ColorSlot : int {
    kSlotLine = 0,
    kSlotAxis = 1,
    kSlotScaleText = 2,
    kSlotDate = 3,
    kSlotNarrowAverage = 4,
    kSlotNormalAverage = 5,
    kSlotWideAverage = 6,
    kSlotTrend = 7,
    kSlotGoal = 8,
    kColorSlotCount = 10,
};

enum class AverageKind { Narrow, Normal, Wide };

// The average commands: a toggle flips its switch, and its menu item is
// checked exactly while the switch is on.
bool& AverageSwitch(GraphViewState& state, AverageKind kind);
bool AverageSwitch(const GraphViewState& state, AverageKind kind);
void ToggleAverage(GraphViewState& state, AverageKind kind);

// The date-label style ("SHOW"/"X", default 1), read afresh on every use;
// any value other than 2 or 3 draws as style 1.
int DateLabelStyle(const ProfileStore& profile);
