// tarelog-cli stats FILE [--json] [--goal WEIGHT]: summary figures of a diary.
#include "cli/commands.h"
#include "cli/goal_option.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "diary/csv_export.h"
#include "diary/diary_file_stats.h"
#include "diary/goal_projection.h"
#include "platform/format.h"
#include "platform/json_string.h"

#include <cmath>
#include <cstdio>

namespace {

enum StatsOption { kJson, kGoal };

std::string Number(double value)
{
    return std::isfinite(value) ? ShortestDouble(value) : "null";
}

std::string Optional(const std::optional<double>& value)
{
    return value ? Number(*value) : "null";
}

std::string Rounded(const std::optional<double>& value, const char* format)
{
    return value ? FormatRuntime(format, *value) : "none";
}

// The ISO day the trend reaches `goal`, empty for none.
std::string GoalDate(const DiaryStats& stats, double goal)
{
    if (stats.entries == 0)
        return {};
    const std::optional<CalendarDate> date = ProjectGoal(stats, goal).date;
    return date ? FormatString("%04d-%02d-%02d", date->Year(), date->Month(), date->Day()) : std::string();
}

void PrintJson(const DiaryStats& stats, const std::string& unit, std::optional<double> goal)
{
    std::printf("{\"entries\": %zu, \"unit\": %s", stats.entries, JsonString(unit, JsonDelete::AsIs).c_str());
    if (stats.entries > 0) {
        std::printf(", \"first_date\": \"%s\", \"last_date\": \"%s\", \"latest\": %s", IsoDateOf(stats.first).c_str(),
            IsoDateOf(stats.last).c_str(), Number(stats.last.weight).c_str());
        std::printf(", \"lowest\": %s, \"lowest_date\": \"%s\", \"highest\": %s, \"highest_date\": \"%s\"",
            Number(stats.lowest.weight).c_str(), IsoDateOf(stats.lowest).c_str(), Number(stats.highest.weight).c_str(),
            IsoDateOf(stats.highest).c_str());
        std::printf(", \"change_7_days\": %s, \"change_30_days\": %s, \"trend\": %s, \"trend_per_week\": %s",
            Optional(stats.change7).c_str(), Optional(stats.change30).c_str(), Number(stats.trend).c_str(),
            Optional(stats.trendPerWeek).c_str());
    }
    if (goal) {
        const std::string date = GoalDate(stats, *goal);
        std::printf(", \"goal\": %s, \"goal_date\": %s", Number(*goal).c_str(),
            date.empty() ? "null" : ("\"" + date + "\"").c_str());
    }
    std::printf("}\n");
}

void PrintText(const DiaryStats& stats, const std::string& unit, std::optional<double> goal)
{
    std::printf("entries:        %zu\n", stats.entries);
    if (stats.entries == 0)
        return;
    const char* u = unit.c_str();
    std::printf("first:          %s\n", IsoDateOf(stats.first).c_str());
    std::printf("last:           %s\n", IsoDateOf(stats.last).c_str());
    std::printf("latest:         %s %s\n", ShortestDouble(stats.last.weight).c_str(), u);
    std::printf("lowest:         %s %s (%s)\n", ShortestDouble(stats.lowest.weight).c_str(), u,
        IsoDateOf(stats.lowest).c_str());
    std::printf("highest:        %s %s (%s)\n", ShortestDouble(stats.highest.weight).c_str(), u,
        IsoDateOf(stats.highest).c_str());
    std::printf("change 7 days:  %s\n", Rounded(stats.change7, "%+.2f").c_str());
    std::printf("change 30 days: %s\n", Rounded(stats.change30, "%+.2f").c_str());
    std::printf("trend:          %s %s\n", FormatString("%.2f", stats.trend).c_str(), u);
    std::printf("trend per week: %s\n", Rounded(stats.trendPerWeek, "%+.2f").c_str());
    if (goal) {
        const std::string date = GoalDate(stats, *goal);
        std::printf("goal:           %s %s\n", ShortestDouble(*goal).c_str(), u);
        std::printf("goal date:      %s\n", date.empty() ? "none" : date.c_str());
    }
}

} // namespace

const VerbTable& StatsTable()
{
    static const VerbTable table{
        .synopsis = "FILE [--json] [--goal WEIGHT]",
        .description = "Prints summary figures of the diary FILE, in its unit. They are taken over\n"
                       "the records in date order (records of one day in the diary's order):\n"
                       "  entries        the number of records\n"
                       "  first, last    the earliest and the latest date\n"
                       "  latest         the weight of the latest record\n"
                       "  lowest,        the lowest and the highest weight, with the date of the first\n"
                       "  highest        record that has it\n"
                       "  change 7 days  latest weight minus the weight of the latest record dated on\n"
                       "  change 30 days or before the last date minus 7 (30) days; none when no record\n"
                       "                 is that old\n"
                       "  trend          exponentially smoothed weight: it starts at the first day's\n"
                       "                 weight and each later day moves it 10% of the way from the\n"
                       "                 previous trend toward that day's weight (T = T + 0.1 * (w - T));\n"
                       "                 a day recorded twice counts once, with its last weight;\n"
                       "                 days without a record are skipped, not filled in\n"
                       "  trend per week (trend at the latest record - trend at the latest record dated\n"
                       "                 on or before the last date minus 7 days) * 7 / the days between\n"
                       "                 those two records; none when no record is that old\n"
                       "With --goal WEIGHT, also:\n"
                       "  goal           the goal weight\n"
                       "  goal date      the day the trend reaches the goal at its recent rate: the\n"
                       "                 least-squares slope of the trend over the recorded days of\n"
                       "                 the last 14 (the last date and the 13 before it); none when\n"
                       "                 the trend moves away from the goal or has reached it, moves\n"
                       "                 less than 0.05 a week, or would take more than 3653 days\n"
                       "Text output rounds the changes and the trend to 2 decimals.\n",
        .options = {{kJson, "json", 0, nullptr,
                        "print every figure in full (null where there is none)\nas one JSON object"},
            {kGoal, "goal", 0, "WEIGHT", "the goal weight, and the day the trend reaches it"}},
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunStats(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(StatsTable(), "stats", args, parsed))
        return *stop;
    if (parsed.operands.size() != 1)
        return UsageError("stats", "give exactly one diary FILE");
    const bool json = HasOption(parsed, kJson);
    std::optional<double> goal;
    for (const UsedOption& used : parsed.options) {
        double weight = 0.0;
        if (used.id != kGoal)
            continue;
        if (!ParseGoalWeight(used.value, weight))
            return UsageError("stats", "--goal wants a weight above 0, not '" + used.value + "'");
        goal = weight;
    }
    // Streamed: a diary of any length costs the same memory (see ComputeDiaryFileStats).
    const Result<DiaryFileStats, DiaryFileError> stats = ComputeDiaryFileStats(parsed.operands[0]);
    if (!stats)
        return ReportFailure(stats.error());
    MentionConflictCopies(parsed.operands[0]);
    if (json)
        PrintJson(stats->figures, ToUtf8(stats->unit), goal);
    else
        PrintText(stats->figures, ToUtf8(stats->unit), goal);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}
