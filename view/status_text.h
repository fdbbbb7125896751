#pragma once

#include "diary/diary_stats.h"

#include <optional>
#include <string>
#include <string_view>

// The status bar's idle text: the latest trend and its weekly rate
// ("傾向 76.4kg　週 −0.35kg"), and with a goal the distance to it and the
// day the trend reaches it ("目標まで 3.2kg、2027/02/14 ごろ"). Parts the
// diary cannot give yet (a weekly rate needs a week, a date a trend moving
// toward the goal) are left out; a diary without records gives "".
std::string IdleStatusText(const DiaryStats& stats, std::optional<double> goal, std::string_view unitUtf8);
