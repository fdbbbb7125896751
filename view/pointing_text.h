#pragma once

#include "diary/diary_stats.h"
#include "diary/weight_record.h"
#include "view/day_span.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The words for what the graph points at and shows: the status bar's while
// a day is marked or the graph zoomed, and what screen readers are told.

// "2024/03/05　65.3kg　傾向 65.1kg": the weight with the diary's digits (at
// least one), the trend with one decimal as the idle text has it.
std::string MarkedDayText(const WeightRecord& record, double trend, int digits, std::string_view unitUtf8);

// "表示 2024/03/01〜2024/04/15": the zoomed days, ahead of the idle text.
std::string ShownSpanText(DaySpan days);

// The graph's accessible description: the dates shown and how many days
// they hold, the latest weight and trend, and the marked day if any.
// An empty diary says how to record the first weight.
std::string GraphDescription(std::span<const WeightRecord> shown, const DiaryStats& stats, int digits,
    std::string_view unitUtf8, const std::string& marked);

// What an empty diary shows in the middle of the graph.
inline constexpr const char* kFirstWeightHint =
    "ダブルクリックするか、ﾃﾞｰﾀ メニューの「新規入力...」で最初の体重を記録します";
