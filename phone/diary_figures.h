#pragma once

#include "diary/diary_stats.h"
#include "diary/tarelog_doc.h"
#include "platform/profile_store.h"

#include <optional>
#include <string>
#include <vector>

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

// `profile` is the user's, where the window keeps each diary's goal; none
// reads as no goal.
DiaryFigures FiguresOf(const CTarelogDoc& doc, const std::string& diaryPath, const ProfileStore* profile);

// The graph of the last four weeks as an inline <svg> element, drawn by the
// window's own drawing code with the user's colours and the trend line.
std::string RecentGraphSvg(const CTarelogDoc& doc, std::optional<double> goal, const ProfileStore* profile);

// The width and height the graph is drawn at; the page scales it to fit.
inline constexpr int kGraphWidth = 400;
inline constexpr int kGraphHeight = 240;
