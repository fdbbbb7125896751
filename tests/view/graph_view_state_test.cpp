#include "platform/memory_profile_store.h"
#include "view/graph_view_state.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphViewState, EmptyProfileGivesBlackEverywhereAndNoCurves)
{
    MemoryProfileStore profile;
    GraphViewState state;
    state.m_colorSlots[3] = 0x123456;
    state.LoadColors(profile);
    for (const Color c : state.m_colorSlots)
        EXPECT_EQ(c, 0u);
    EXPECT_FALSE(state.m_avgNarrow);
    EXPECT_FALSE(state.m_avgNormal);
    EXPECT_FALSE(state.m_avgWide);
    EXPECT_EQ(profile.WriteCount(), 0) << "loading never writes";
}

TEST(GraphViewState, ColoursComeFromSectionIroEntriesZeroToNine)
{
    MemoryProfileStore profile;
    for (int i = 0; i < 10; ++i)
        profile.WriteProfileInt("色", std::to_string(i), 0x010203 * (i + 1));
    profile.WriteProfileInt("色", "10", 0x777777);
    profile.WriteProfileInt("color", "0", 0x777777);
    GraphViewState state;
    state.LoadColors(profile);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(state.m_colorSlots[i], static_cast<Color>(0x010203 * (i + 1))) << i;
}

TEST(GraphViewState, StoredValuesPassUncheckedTopByteIncluded)
{
    MemoryProfileStore profile;
    profile.WriteProfileInt("色", "7", -1);
    profile.WriteProfileInt("色", "9", 0x7F00FF00);
    GraphViewState state;
    state.LoadColors(profile);
    EXPECT_EQ(state.m_colorSlots[7], 0xFFFFFFFFu);
    EXPECT_EQ(state.m_colorSlots[9], 0x7F00FF00u);

    MemoryProfileStore saved;
    state.SaveColors(saved);
    EXPECT_EQ(saved.GetProfileInt("色", "7", 0), -1);
    EXPECT_EQ(saved.GetProfileInt("色", "9", 0), 0x7F00FF00);
}

TEST(GraphViewState, SavesAllTenEveryTime)
{
    GraphViewState state;
    state.m_colorSlots[2] = 0x00FF0000;
    MemoryProfileStore profile;
    state.SaveColors(profile);
    state.SaveColors(profile);
    EXPECT_EQ(profile.WriteCount(), 20);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(profile.Contains("色", std::to_string(i))) << i;
    EXPECT_EQ(profile.GetProfileInt("色", "2", 0), 0x00FF0000);

    GraphViewState reloaded;
    reloaded.LoadColors(profile);
    EXPECT_TRUE(
        std::equal(std::begin(state.m_colorSlots), std::end(state.m_colorSlots), std::begin(reloaded.m_colorSlots)));
}

TEST(GraphViewState, TogglesFlipOneSwitchAndTheCheckMarkFollows)
{
    GraphViewState state;
    ToggleAverage(state, AverageKind::Normal);
    EXPECT_TRUE(state.m_avgNormal);
    EXPECT_FALSE(state.m_avgNarrow);
    EXPECT_FALSE(state.m_avgWide);
    EXPECT_TRUE(AverageSwitch(state, AverageKind::Normal));
    EXPECT_FALSE(AverageSwitch(state, AverageKind::Wide));
    ToggleAverage(state, AverageKind::Normal);
    EXPECT_FALSE(state.m_avgNormal);
    EXPECT_FALSE(AverageSwitch(state, AverageKind::Normal));

    ToggleAverage(state, AverageKind::Narrow);
    ToggleAverage(state, AverageKind::Wide);
    EXPECT_TRUE(state.m_avgNarrow);
    EXPECT_TRUE(state.m_avgWide);
    EXPECT_FALSE(state.m_avgNormal);
}

TEST(GraphViewState, DateLabelStyleDefaultsToOne)
{
    MemoryProfileStore profile;
    EXPECT_EQ(DateLabelStyle(profile), 1);
    profile.WriteProfileInt("SHOW", "X", 3);
    EXPECT_EQ(DateLabelStyle(profile), 3);
    profile.WriteProfileInt("SHOW", "X", 42);
    EXPECT_EQ(DateLabelStyle(profile), 42) << "read as stored; drawing treats it as style 1";
}

} // namespace
