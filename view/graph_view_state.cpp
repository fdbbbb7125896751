#include "view/graph_view_state.h"

#include "platform/format.h"

void GraphViewState::LoadColors(const ProfileStore& profile)
{
    for (int i = 0; i < kColorSlotCount; ++i)
        m_colorSlots[i] = static_cast<Color>(profile.GetProfileInt(kColorSection, FormatString("%d", i), 0));
}

void GraphViewState::SaveColors(ProfileStore& profile) const
{
    for (int i = 0; i < kColorSlotCount; ++i)
        profile.WriteProfileInt(kColorSection, FormatString("%d", i), static_cast<int>(m_colorSlots[i]));
}

bool& AverageSwitch(GraphViewState& state, AverageKind kind)
{
    switch (kind) {
    case AverageKind::Narrow: return state.m_avgNarrow;
    case AverageKind::Normal: return state.m_avgNormal;
    case AverageKind::Wide: break;
    }
    return state.m_avgWide;
}

bool AverageSwitch(const GraphViewState& state, AverageKind kind)
{
    return AverageSwitch(const_cast<GraphViewState&>(state), kind);
}

void ToggleAverage(GraphViewState& state, AverageKind kind)
{
    bool& on = AverageSwitch(state, kind);
    on = !on;
}

int DateLabelStyle(const ProfileStore& profile)
{
    return profile.GetProfileInt(kShowSection, kDateStyleEntry, kDefaultDateStyle);
}
