#pragma once

#include "platform/profile_store.h"
#include "view/view_command_ids.h"
#include "view/graph_view_state.h"

#include <optional>
#include <string>

// The view menu's ranges: command id and days shown, "全期間" first.
struct RangeChoice {
    int id;
    int days; // 0 for every record
};
inline constexpr RangeChoice kRangeChoices[] = {
    {ID_VIEW_ALL, 0},
    {ID_VIEW_4_WEEKS, 28},
    {ID_VIEW_3_MONTHS, 91},
    {ID_VIEW_6_MONTHS, 182},
    {ID_VIEW_1_YEAR, 365},
};

// Range, fill and trend are the user's, kept in the profile (section "表示")
// from one run to the next; a range the menu does not offer reads as all.
void LoadViewMenuSettings(GraphViewState& state, const ProfileStore& profile);
void SaveViewMenuSettings(const GraphViewState& state, ProfileStore& profile);

// A goal belongs to one diary: it is kept under the diary's absolute path
// (section "目標"), in thousandths of the diary's unit, so the file format
// stays as it is. A diary without a path has no remembered goal.
std::optional<double> LoadGoal(const ProfileStore& profile, const std::string& diaryPath);
void SaveGoal(ProfileStore& profile, const std::string& diaryPath, std::optional<double> goal);
// The profile entry of a path: '/' and '\' would open sub-sections, so they
// (and '%', which escapes them) are written as %2F, %5C and %25.
std::string GoalEntryName(const std::string& diaryPath);
