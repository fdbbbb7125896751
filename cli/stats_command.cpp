// tarelog-cli stats FILE [--json]: summary figures of a diary.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "doc/csv_export.h"
#include "doc/diary_file_stats.h"
#include "platform/format.h"
#include "platform/json_string.h"

#include <cmath>
#include <cstdio>

namespace {

enum StatsOption { kJson };

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

void PrintJson(const DiaryStats& stats, const std::string& unit)
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
    std::printf("}\n");
}

void PrintText(const DiaryStats& stats, const std::string& unit)
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
}

} // namespace

const VerbSpec& StatsSpec()
{
    static const VerbSpec spec{
        .synopsis = "FILE [--json]",
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
                       "Text output rounds the changes and the trend to 2 decimals.\n",
        .options = {{kJson, "json", 0, nullptr,
            "print every figure in full (null where there is none)\nas one JSON object"}},
        .operands = {{.files = "tlg"}},
    };
    return spec;
}

int RunStats(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(StatsSpec(), "stats", args, parsed))
        return *stop;
    if (parsed.operands.size() != 1)
        return UsageError("stats", "give exactly one diary FILE");
    const bool json = HasOption(parsed, kJson);
    // Streamed: a diary of any length costs the same memory (see ComputeDiaryFileStats).
    const Result<DiaryFileStats, DiaryFileError> stats = ComputeDiaryFileStats(parsed.operands[0]);
    if (!stats)
        return ReportFailure(stats.error());
    MentionConflictCopies(parsed.operands[0]);
    if (json)
        PrintJson(stats->figures, ToUtf8(stats->unit));
    else
        PrintText(stats->figures, ToUtf8(stats->unit));
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}
