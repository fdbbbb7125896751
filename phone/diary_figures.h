#pragma once

#include "diary/diary_stats.h"
#include "diary/tarelog_doc.h"
#include "platform/profile_store.h"
#include "platform/surface.h"
#include "view/graph_view_state.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// What of the user's settings the page shows: the goal the window keeps
// for this diary, the graph's colours and its date-label style.
struct PageSettings {
    std::optional<double> goal;
    std::array<Color, kColorSlotCount> colors{};
    int dateStyle = kDefaultDateStyle;
    bool operator==(const PageSettings&) const = default;
};

// None reads as the settings of a new user: no goal, black on white.
PageSettings ReadPageSettings(const ProfileStore* profile, const std::string& diaryPath);

// What the page and GET /api/diary show of a diary: the latest weight, the
// status bar's trend, weekly rate and goal, and the last four weeks.
struct DiaryFigures {
    std::string unit; // UTF-8
    int digits = 0;
    DiaryStats stats;                     // entries == 0 for an empty diary
    std::optional<double> goal;           // the window's goal for this diary
    std::string statusText;               // the window's status bar says the same
    std::vector<WeightRecord> recentDays; // the last 28 days up to the latest, in date order
};

// The days of the graph and of the API's list.
inline constexpr int kRecentDays = 28;

DiaryFigures FiguresOf(const CTarelogDoc& doc, const PageSettings& settings);

// The graph of the last four weeks as an inline <svg> element, drawn by the
// window's own drawing code with the user's colours and the trend line.
std::string RecentGraphSvg(const CTarelogDoc& doc, const PageSettings& settings);

// The width and height the graph is drawn at; the page scales it to fit.
inline constexpr int kGraphWidth = 400;
inline constexpr int kGraphHeight = 240;
