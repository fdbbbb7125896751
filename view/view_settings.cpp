#include "view/view_settings.h"

#include <climits>
#include <cmath>

namespace {

constexpr const char* kViewSection = "表示";
constexpr const char* kRangeEntry = "Range";
constexpr const char* kFillEntry = "Fill";
constexpr const char* kTrendEntry = "Trend";
constexpr const char* kGoalSection = "目標";
// Written for a diary whose goal was taken away.
constexpr int kNoGoal = INT_MIN;

bool IsOffered(int days)
{
    for (const RangeChoice& choice : kRangeChoices)
        if (choice.days == days)
            return true;
    return false;
}

} // namespace

void LoadViewMenuSettings(GraphViewState& state, const ProfileStore& profile)
{
    const int days = profile.GetProfileInt(kViewSection, kRangeEntry, 0);
    state.m_rangeDays = IsOffered(days) ? days : 0;
    state.m_fill = profile.GetProfileInt(kViewSection, kFillEntry, 0) != 0;
    state.m_trend = profile.GetProfileInt(kViewSection, kTrendEntry, 0) != 0;
}

void SaveViewMenuSettings(const GraphViewState& state, ProfileStore& profile)
{
    profile.WriteProfileInt(kViewSection, kRangeEntry, state.m_rangeDays);
    profile.WriteProfileInt(kViewSection, kFillEntry, state.m_fill ? 1 : 0);
    profile.WriteProfileInt(kViewSection, kTrendEntry, state.m_trend ? 1 : 0);
}

std::string GoalEntryName(const std::string& diaryPath)
{
    std::string name;
    for (const char c : diaryPath) {
        if (c == '%')
            name += "%25";
        else if (c == '/')
            name += "%2F";
        else if (c == '\\')
            name += "%5C";
        else
            name += c;
    }
    return name;
}

std::optional<double> LoadGoal(const ProfileStore& profile, const std::string& diaryPath)
{
    if (diaryPath.empty())
        return std::nullopt;
    const int stored = profile.GetProfileInt(kGoalSection, GoalEntryName(diaryPath), kNoGoal);
    if (stored == kNoGoal)
        return std::nullopt;
    return stored / 1000.0;
}

void SaveGoal(ProfileStore& profile, const std::string& diaryPath, std::optional<double> goal)
{
    if (diaryPath.empty())
        return;
    int stored = kNoGoal;
    if (goal && std::isfinite(*goal) && std::fabs(*goal) < INT_MAX / 1000.0)
        stored = static_cast<int>(std::lround(*goal * 1000.0));
    profile.WriteProfileInt(kGoalSection, GoalEntryName(diaryPath), stored);
}
