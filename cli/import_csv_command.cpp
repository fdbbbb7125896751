// tarelog-cli import-csv FILE IN.csv: merges another program's (or a
// spreadsheet's) weights into a diary, one weight per day.
#include "cli/cli_command.h"

#include "doc/csv_import.h"
#include "doc/day_weight_merge.h"
#include "doc/diary_file.h"
#include "platform/format.h"
#include "platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: tarelog-cli import-csv FILE IN.csv [--format LAYOUT] [--skip-bad] [--dry-run]\n\n"
    "Merges the weights of IN.csv into the diary FILE (created when missing), one\n"
    "weight per calendar day, as the entry dialog would record them: a day already\n"
    "in the diary gets the imported weight, a new day is inserted at its date\n"
    "position. When IN.csv has several rows for one day, the last of them wins.\n"
    "Timestamps count by the date as written, without time-zone conversion.\n"
    "Weights are stored as the file gives them: a unit the file states is shown,\n"
    "never converted.\n\n"
    "LAYOUT is one of\n"
    "  auto         recognise the layout from the header (the default)\n"
    "  tarelog      date,weight (or date;weight); YYYY-MM-DD, YYYY/MM/DD or timestamps\n"
    "  openscale    openScale v2 (\"dateTime\", \"weight\") or v3 (DATE, TIME, ..., WEIGHT)\n"
    "  libra        #Version, #Units, #date;weight;weight trend;...\n"
    "  health       GNOME Health: date,weight with RFC 3339 timestamps\n"
    "  trendweight  Date, Actual Weight, ...; rows marked interpolated are left out\n\n"
    "A row that cannot be read (no calendar date, not a finite number, wrong number\n"
    "of fields) stops the import with its line number and FILE is not changed.\n"
    "  --skip-bad   import the readable rows and list the skipped ones\n"
    "  --dry-run    read and merge, print the summary, write nothing\n"
    "The summary on standard error counts the days added and replaced and the rows\n"
    "skipped (unreadable or interpolated).\n";

struct ImportArgs {
    std::string diary;
    std::string csv;
    CsvLayout layout = CsvLayout::Auto;
    bool skipBad = false;
    bool dryRun = false;
};

bool ParseArgs(const VerbArguments& args, ImportArgs& parsed)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.empty() && !args.IsOption(i)) {
            positional.push_back(arg);
        } else if (arg == "--skip-bad") {
            parsed.skipBad = true;
        } else if (arg == "--dry-run") {
            parsed.dryRun = true;
        } else if (arg == "--format" && i + 1 < args.size()) {
            if (!ParseCsvLayoutName(args[++i], parsed.layout))
                return false;
        } else if (arg.starts_with("--format=")) {
            if (!ParseCsvLayoutName(std::string_view(arg).substr(9), parsed.layout))
                return false;
        } else {
            return false;
        }
    }
    if (positional.size() != 2)
        return false;
    parsed.diary = positional[0];
    parsed.csv = positional[1];
    return true;
}

// "1 row", "2 rows".
std::string Count(std::size_t count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string FailureText(const FileFailure& failure)
{
    std::string text = failure.step;
    if (!text.empty())
        text += ": ";
    return text + (failure.why != nullptr ? failure.why : std::strerror(failure.error));
}

void PrintProblems(const ImportArgs& args, const CsvImport& import)
{
    for (const CsvRowProblem& problem : import.problems)
        std::fprintf(stderr, "tarelog-cli: %s: %sline %d: %s\n", args.csv.c_str(), args.skipBad ? "skipped " : "",
            problem.line, problem.reason.c_str());
}

void PrintLayout(const ImportArgs& args, const CsvImport& import)
{
    std::fprintf(stderr, "tarelog-cli: %s: %s layout, %s\n", args.csv.c_str(), CsvLayoutName(import.layout),
        Count(import.rows.size(), "readable row").c_str());
}

void PrintUnit(const ImportArgs& args, const CsvImport& import, const CTarelogDoc& doc)
{
    if (!import.unit.empty())
        std::fprintf(stderr, "tarelog-cli: %s states the unit %s; the diary's unit text is \"%s\"; weights are "
                             "imported as written, not converted\n",
            args.csv.c_str(), import.unit.c_str(), ToUtf8(doc.m_unit).c_str());
}

void PrintSummary(const ImportArgs& args, const CsvImport& import, const MergeCounts& counts)
{
    if (!counts.diaryInDateOrder)
        std::fprintf(stderr, "tarelog-cli: note: %s is not in date order (or holds a day twice); the rows were "
                             "placed where the entry dialog would place them\n",
            args.diary.c_str());
    if (counts.superseded > 0)
        std::fprintf(stderr, "tarelog-cli: %s overridden by a later row of the same day\n",
            Count(counts.superseded, "row").c_str());
    const std::size_t skipped = import.problems.size() + import.interpolated;
    std::fprintf(stderr, "tarelog-cli: %s added, %zu replaced, %s skipped", Count(counts.added, "day").c_str(),
        counts.replaced, Count(skipped, "row").c_str());
    if (import.interpolated > 0)
        std::fprintf(stderr, " (%zu interpolated)", import.interpolated);
    std::fprintf(stderr, "%s\n", args.dryRun ? "; dry run, nothing written" : "");
}

// A missing diary is a new, empty one; any other load failure stops.
bool LoadOrCreate(const std::string& path, CTarelogDoc& doc, bool& created)
{
    const DiaryFileError error = LoadDiaryFile(path, doc);
    created = error.kind == DiaryFileError::Kind::CannotOpen && error.systemError == ENOENT;
    if (error && !created) {
        std::fprintf(stderr, "tarelog-cli: %s\n", error.EnglishMessage().c_str());
        return false;
    }
    return true;
}

int RunImportCsv(const VerbArguments& args)
{
    if (WantsHelp(args)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    ImportArgs parsed;
    if (!ParseArgs(args, parsed)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::string text;
    FileFailure failure;
    if (!ReadWholeFile(parsed.csv, text, failure)) {
        std::fprintf(stderr, "tarelog-cli: cannot read %s: %s\n", parsed.csv.c_str(), FailureText(failure).c_str());
        return kExitFailure;
    }
    CsvImport import = ReadCsvImport(text, parsed.layout);
    if (!import.error.empty()) {
        std::fprintf(stderr, "tarelog-cli: %s: %s\n", parsed.csv.c_str(), import.error.c_str());
        return kExitFailure;
    }
    PrintLayout(parsed, import);
    PrintProblems(parsed, import);
    if (!import.problems.empty() && !parsed.skipBad) {
        std::fprintf(stderr, "tarelog-cli: %s; nothing imported, %s is unchanged "
                             "(--skip-bad imports the readable rows)\n",
            Count(import.problems.size(), "unreadable row").c_str(), parsed.diary.c_str());
        return kExitFailure;
    }
    CTarelogDoc doc;
    bool created = false;
    if (!LoadOrCreate(parsed.diary, doc, created))
        return kExitFailure;
    PrintUnit(parsed, import, doc);
    const MergeCounts counts = MergeDayWeights(doc, std::move(import.rows));
    PrintSummary(parsed, import, counts);
    if (parsed.dryRun || (!created && !doc.IsModified()))
        return kExitOk;
    if (const DiaryFileError error = SaveDiaryFile(doc, parsed.diary)) {
        std::fprintf(stderr, "tarelog-cli: %s\n", error.EnglishMessage().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const CliCommandRegistration registration({"import-csv", "merge weights from a CSV sheet or another tracker", RunImportCsv});

} // namespace
