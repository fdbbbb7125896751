#include "view/status_text.h"

#include "diary/goal_projection.h"
#include "platform/format.h"

#include <cmath>

namespace {

// The minus sign the window writes, wider and clearer than '-'.
constexpr const char* kMinus = "\u2212";
constexpr const char* kWideSpace = "\u3000";

std::string Signed(double value, const char* format)
{
    const std::string digits = FormatRuntime(format, std::fabs(value));
    // A rate that rounds to zero shows no sign at all.
    if (FormatRuntime(format, 0.0) == digits)
        return digits;
    return (value < 0.0 ? kMinus : "+") + digits;
}

} // namespace

std::string IdleStatusText(const DiaryStats& stats, std::optional<double> goal, std::string_view unitUtf8)
{
    if (stats.entries == 0)
        return {};
    const std::string unit(unitUtf8);
    std::string text = "傾向 " + FormatString("%.1f", stats.trend) + unit;
    if (stats.trendPerWeek)
        text += kWideSpace + std::string("週 ") + Signed(*stats.trendPerWeek, "%.2f") + unit;
    if (goal) {
        const GoalProjection projection = ProjectGoal(stats, *goal);
        text += kWideSpace + std::string("目標まで ") + FormatString("%.1f", projection.remaining) + unit;
        if (projection.date)
            text += FormatString("、%04d/%02d/%02d ごろ", projection.date->Year(), projection.date->Month(),
                projection.date->Day());
    }
    return text;
}
