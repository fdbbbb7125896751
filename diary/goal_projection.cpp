#include "diary/goal_projection.h"

#include <cmath>

GoalProjection ProjectGoal(const DiaryStats& stats, double goal)
{
    GoalProjection projection;
    const double ahead = goal - stats.trend;
    projection.remaining = std::fabs(ahead);
    if (!stats.trendSlope || !std::isfinite(ahead))
        return projection;
    const double slope = *stats.trendSlope;
    if (!(std::fabs(slope) * 7.0 >= kMinGoalRatePerWeek) || ahead * slope <= 0.0)
        return projection;
    const double days = std::ceil(ahead / slope);
    if (days > kGoalHorizonDays)
        return projection;
    const WeightRecord& last = stats.last;
    projection.date = CalendarDate::FromYmd(last.year, last.month, last.day + static_cast<int>(days));
    return projection;
}
