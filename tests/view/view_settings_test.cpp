// What the view menu keeps in the profile, and the status bar's figures.
#include "platform/memory_profile_store.h"
#include "view/status_text.h"
#include "view/view_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewSettings, RangeFillAndTrendRoundTrip)
{
    MemoryProfileStore profile;
    GraphViewState state;
    LoadViewMenuSettings(state, profile);
    EXPECT_EQ(state.m_rangeDays, 0);
    EXPECT_FALSE(state.m_fill || state.m_trend) << "an empty profile draws as always";
    state.m_rangeDays = 182;
    state.m_fill = true;
    SaveViewMenuSettings(state, profile);
    GraphViewState loaded;
    LoadViewMenuSettings(loaded, profile);
    EXPECT_EQ(loaded.m_rangeDays, 182);
    EXPECT_TRUE(loaded.m_fill);
    EXPECT_FALSE(loaded.m_trend);
    for (const int odd : {-28, 1, 30, 100000}) {
        profile.WriteProfileInt("表示", "Range", odd);
        LoadViewMenuSettings(loaded, profile);
        EXPECT_EQ(loaded.m_rangeDays, 0) << odd;
    }
}

TEST(ViewSettings, AGoalBelongsToItsDiarysPath)
{
    MemoryProfileStore profile;
    SaveGoal(profile, "/home/a/diary.tlg", 64.25);
    SaveGoal(profile, "/home/a\\diary.tlg", 80.0);
    EXPECT_EQ(LoadGoal(profile, "/home/a/diary.tlg"), 64.25);
    EXPECT_EQ(LoadGoal(profile, "/home/a\\diary.tlg"), 80.0) << "a backslash is no folder separator";
    EXPECT_FALSE(LoadGoal(profile, "/home/b/diary.tlg"));
    SaveGoal(profile, "/home/a/diary.tlg", std::nullopt);
    EXPECT_FALSE(LoadGoal(profile, "/home/a/diary.tlg"));
    SaveGoal(profile, "", 70.0);
    EXPECT_FALSE(LoadGoal(profile, "")) << "an unsaved diary keeps nothing";
    EXPECT_EQ(profile.WriteCount(), 3);
    EXPECT_EQ(GoalEntryName("/a%2F/b\\c"), "%2Fa%252F%2Fb%5Cc");
}

TEST(StatusText, TrendWeeklyRateGoalAndDate)
{
    DiaryStats stats;
    EXPECT_EQ(IdleStatusText(stats, 70.0, "kg"), "");
    stats.entries = 20;
    stats.last = {76.0, 2026, 12, 1, {0, 0}};
    stats.trend = 76.43;
    EXPECT_EQ(IdleStatusText(stats, std::nullopt, "kg"), "傾向 76.4kg");
    stats.trendPerWeek = -0.351;
    EXPECT_EQ(IdleStatusText(stats, std::nullopt, "kg"), "傾向 76.4kg\u3000週 \u22120.35kg");
    stats.trendPerWeek = 0.2;
    EXPECT_EQ(IdleStatusText(stats, std::nullopt, "lb"), "傾向 76.4lb\u3000週 +0.20lb");
    stats.trendPerWeek = -0.001;
    EXPECT_EQ(IdleStatusText(stats, std::nullopt, "kg"), "傾向 76.4kg\u3000週 0.00kg");

    // 3.23 to go at 0.05 a day: 65 days after 2026-12-01.
    stats.trendPerWeek = -0.35;
    stats.trendSlope = -0.05;
    EXPECT_EQ(IdleStatusText(stats, 73.2, "kg"),
        "傾向 76.4kg\u3000週 \u22120.35kg\u3000目標まで 3.2kg、2027/02/04 ごろ");
    EXPECT_EQ(IdleStatusText(stats, 80.0, "kg"), "傾向 76.4kg\u3000週 \u22120.35kg\u3000目標まで 3.6kg");
}

} // namespace
