#pragma once

#include "diary/diary_stats.h"
#include "platform/calendar_date.h"

#include <optional>

// How far the trend is from a goal weight, and when it gets there.
struct GoalProjection {
    double remaining = 0.0; // |trend - goal|, in the diary's unit
    // The day the trend reaches the goal if it keeps its recent slope,
    // counted from the last date; none when it moves away from the goal,
    // has already reached it, moves too slowly to say (less than
    // kMinGoalRatePerWeek a week) or would take longer than kGoalHorizonDays.
    std::optional<CalendarDate> date;
};

inline constexpr double kMinGoalRatePerWeek = 0.05;
inline constexpr int kGoalHorizonDays = 3653;

// For a diary with at least one record (stats.entries > 0).
GoalProjection ProjectGoal(const DiaryStats& stats, double goal);
