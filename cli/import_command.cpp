// tarelog-cli import FILE SOURCE (also under its old name, import-csv):
// merges another program's export (or a spreadsheet) into a diary, one
// weight per day.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "diary/import/diary_import.h"
#include "platform/format.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

enum ImportOption { kFormat, kKeep, kZone, kConvert, kSkipBad, kDryRun, kForce };

struct ImportArgs {
    std::string diary;
    std::string source;
    ImportLayout layout = ImportLayout::Auto;
    KeepRule keep = KeepRule::Latest;
    std::string zone;
    bool convert = false;
    bool skipBad = false;
    bool dryRun = false;
    bool force = false;
};

const char kDescriptionHead[] = "(import-csv is the same verb under its old name)\n\n"
                                "Merges the weights of SOURCE, another program's export, into the diary FILE\n"
                                "(created when missing), one weight per calendar day, as the entry dialog would\n"
                                "record them: a day already in the diary gets the imported weight, a new day is\n"
                                "inserted at its date position. SOURCE may also be a zip archive as the\n"
                                "services hand them out (Apple's export.zip, a Google Takeout zip): its first\n"
                                "file that a layout recognises is read, without unpacking.\n\n"
                                "LAYOUT is one of\n";

const char kDescriptionTail[] = "\nWhich weighing of a day counts: the latest by its time of day, whatever order\n"
                                "the file has (weighings of the same time: the last in the file), unless\n"
                                "--keep earliest. A timestamp with an offset counts by its date as written (the\n"
                                "writer's day); a UTC timestamp counts by its date in the local time zone (TZ),\n"
                                "or in the zone --tz names.\n\n"
                                "A new diary takes the unit the file states (kg or lb). Weights in another unit\n"
                                "than the diary's, or a file that mixes units, are refused unless --convert.\n\n"
                                "Rows that measure something else (no weight) and rows marked interpolated are\n"
                                "left out and counted. A row that cannot be read stops the import with its line\n"
                                "number (the first 20 are listed) and FILE is not changed, unless --skip-bad.\n"
                                "The summary on standard error counts the days added and replaced and the rows\n"
                                "left out.\n";

// A zone name (Area/City, UTC) must exist in the time zone database, since
// the C library quietly reads an unknown one as UTC; a POSIX rule such as
// JST-9 carries its own offset.
bool IsKnownTimeZone(const std::string& zone)
{
    if (zone.find_first_of("0123456789") != std::string::npos)
        return true;
    const char* root = std::getenv("TZDIR");
    const std::filesystem::path file = std::filesystem::path(root != nullptr ? root : "/usr/share/zoneinfo") / zone;
    std::error_code ignored;
    return !zone.empty() && zone.find("..") == std::string::npos && std::filesystem::is_regular_file(file, ignored);
}

void UseTimeZone(const std::string& zone)
{
    setenv("TZ", zone.c_str(), 1);
    tzset();
}

// The failure is an English complaint.
Status<std::string> ApplyOption(const UsedOption& used, ImportArgs& parsed)
{
    const std::string& value = used.value;
    switch (used.id) {
    case kFormat:
        if (!ParseImportLayoutName(value, parsed.layout))
            return Failed{"unknown layout '" + value + "' for --format"};
        break;
    case kKeep:
        if (value != "latest" && value != "earliest")
            return Failed{"--keep takes latest or earliest, not '" + value + "'"};
        parsed.keep = value == "earliest" ? KeepRule::Earliest : KeepRule::Latest;
        break;
    case kZone:
        if (!IsKnownTimeZone(value))
            return Failed{"unknown time zone '" + value + "' for --tz"};
        parsed.zone = value;
        break;
    case kConvert: parsed.convert = true; break;
    case kSkipBad: parsed.skipBad = true; break;
    case kDryRun: parsed.dryRun = true; break;
    case kForce: parsed.force = true; break;
    }
    return {};
}

// The failure is an English complaint.
Status<std::string> ParseArgs(const ParsedArguments& options, ImportArgs& parsed)
{
    for (const UsedOption& used : options.options)
        if (Status<std::string> applied = ApplyOption(used, parsed); !applied)
            return applied;
    if (options.operands.size() != 2)
        return Failed{std::string("expected a diary FILE and a SOURCE to import")};
    parsed.diary = options.operands[0];
    parsed.source = options.operands[1];
    return {};
}

// "1 row", "2 rows".
std::string Count(std::size_t count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void PrintProblems(const ImportArgs& args, const WeightImport& import)
{
    for (const ImportProblem& problem : import.problems.First())
        std::fprintf(stderr, "tarelog-cli: %s: %sline %d: %s\n", args.source.c_str(), args.skipBad ? "skipped " : "",
            problem.line, problem.reason.c_str());
    const std::size_t unlisted = import.problems.Count() - import.problems.First().size();
    if (unlisted > 0)
        std::fprintf(stderr, "tarelog-cli: %s: and %zu more unreadable row%s, not listed\n", args.source.c_str(),
            unlisted, unlisted == 1 ? "" : "s");
}

void PrintLayout(const ImportArgs& args, const WeightImport& import)
{
    std::fprintf(stderr, "tarelog-cli: %s: ", args.source.c_str());
    if (!import.archiveEntry.empty())
        std::fprintf(stderr, "%s in the archive: ", import.archiveEntry.c_str());
    std::fprintf(stderr, "%s layout, %s", ImportLayoutName(import.layout),
        Count(import.weighings.size(), "weighing").c_str());
    if (!import.statedUnit.empty())
        std::fprintf(stderr, " in %s", import.statedUnit.c_str());
    std::fputc('\n', stderr);
}

void PrintSummary(const ImportArgs& args, const WeightImport& import, const ImportSummary& summary)
{
    if (!summary.merge.diaryInDateOrder)
        std::fprintf(stderr,
            "tarelog-cli: note: %s is not in date order (or holds a day twice); the rows were "
            "placed where the entry dialog would place them\n",
            args.diary.c_str());
    if (summary.superseded > 0)
        std::fprintf(stderr, "tarelog-cli: %s left out for %s weighing of the same day\n",
            Count(summary.superseded, "weighing").c_str(), args.keep == KeepRule::Latest ? "a later" : "an earlier");
    std::fprintf(stderr, "tarelog-cli: %s added, %zu replaced, %s skipped", Count(summary.merge.added, "day").c_str(),
        summary.merge.replaced, Count(summary.skipped, "row").c_str());
    if (import.interpolated > 0)
        std::fprintf(stderr, " (%zu interpolated)", import.interpolated);
    if (import.withoutWeight > 0)
        std::fprintf(stderr, " (%zu without a weight)", import.withoutWeight);
    std::fprintf(stderr, "%s\n", args.dryRun ? "; dry run, nothing written" : "");
}

// A missing diary is a new, empty one; any other load failure stops, and so
// does a file that is most likely not a diary at all.
// Without `write` (a dry run), a plain read that only mentions the diary's
// conflict copies.
bool LoadOrCreate(const ImportArgs& args, SyncedDiaryWrite* write, CTarelogDoc& doc, bool& created)
{
    std::optional<DiaryFileFacts> loaded;
    if (write != nullptr) {
        loaded = LoadForWriting(*write, doc, created);
    } else {
        const Result<DiaryFileFacts, DiaryFileError> read = LoadDiaryFile(args.diary, doc);
        created = !read && IsMissingFile(read.error());
        if (!read && !created)
            ReportFailure(read.error());
        loaded = read ? std::optional<DiaryFileFacts>(*read)
            : created ? std::optional<DiaryFileFacts>(DiaryFileFacts{})
                      : std::nullopt;
        MentionConflictCopies(args.diary);
    }
    if (!loaded)
        return false;
    if (loaded->trailingBytes > kSuspectTrailingBytes && !args.force) {
        std::fprintf(stderr,
            "tarelog-cli: %s carries %zu bytes after its diary data: it is probably not a diary; "
            "nothing imported (--force writes over it, dropping those bytes)\n",
            args.diary.c_str(), loaded->trailingBytes);
        return false;
    }
    return true;
}

bool ReadSource(const ImportArgs& args, WeightImport& import)
{
    Result<WeightImport, ImportError> read = ReadWeightImportFile(args.source, args.layout);
    if (!read) {
        std::fprintf(stderr, "tarelog-cli: %s: %s\n", args.source.c_str(), read.error().detail.c_str());
        return false;
    }
    import = std::move(*read);
    PrintLayout(args, import);
    PrintProblems(args, import);
    if (!import.problems.Empty() && !args.skipBad) {
        std::fprintf(stderr,
            "tarelog-cli: %s: %s in this %s export; nothing imported, %s is unchanged "
            "(--skip-bad imports the readable rows)\n",
            args.source.c_str(), Count(import.problems.Count(), "unreadable row").c_str(),
            ImportLayoutName(import.layout), args.diary.c_str());
        return false;
    }
    if (!import.problems.Empty() && import.weighings.empty()) {
        std::fprintf(stderr,
            "tarelog-cli: %s: no row of this %s export could be read; nothing imported, %s is "
            "unchanged\n",
            args.source.c_str(), ImportLayoutName(import.layout), args.diary.c_str());
        return false;
    }
    return true;
}

void PrintUnits(const ImportArgs& args, const WeightImport& import, const ImportSummary& summary,
    const CTarelogDoc& doc)
{
    if (summary.converted > 0)
        std::fprintf(stderr, "tarelog-cli: %s converted to %s (1 lb = 0.45359237 kg)\n",
            Count(summary.converted, "weight").c_str(), UnitSymbol(summary.storedIn));
    else if (summary.storedIn == WeightUnit::Unknown && !import.statedUnit.empty())
        std::fprintf(stderr,
            "tarelog-cli: %s states %s; the diary's unit text is \"%s\"; weights are imported as "
            "written\n",
            args.source.c_str(), import.statedUnit.c_str(), ToUtf8(doc.m_unit).c_str());
}

int RunImportAs(const std::vector<std::string>& args, const char* verb)
{
    ParsedArguments options;
    if (const auto stop = StartVerb(ImportTable(), verb, args, options))
        return *stop;
    ImportArgs parsed;
    if (const Status<std::string> fit = ParseArgs(options, parsed); !fit)
        return UsageError(verb, fit.error());
    if (!parsed.zone.empty())
        UseTimeZone(parsed.zone);
    WeightImport import;
    if (!ReadSource(parsed, import))
        return kExitFailure;
    // Held from before the diary is read until after it is written, so a
    // writer running meanwhile cannot lose its day or this import.
    std::optional<FileWriteLock> lock;
    if (!parsed.dryRun) {
        lock = LockDiaryReporting(parsed.diary);
        if (!lock)
            return kExitFailure;
    }
    CTarelogDoc doc;
    bool created = false;
    std::optional<SyncedDiaryWrite> write;
    if (lock)
        write.emplace(*lock, SyncedDiaryWrite::DefaultStateFolder());
    if (!LoadOrCreate(parsed, write ? &*write : nullptr, doc, created))
        return kExitFailure;
    const ImportSummary summary = MergeImport(import, doc, created, ImportChoices{parsed.keep, parsed.convert});
    if (!summary.Merged()) {
        std::fprintf(stderr, "tarelog-cli: %s: %s; nothing imported\n", parsed.source.c_str(),
            summary.unitRefusal.c_str());
        return kExitFailure;
    }
    PrintUnits(parsed, import, summary, doc);
    PrintSummary(parsed, import, summary);
    if (parsed.dryRun)
        return kExitOk;
    return SaveWritten(*write, doc, created || doc.IsModified()) ? kExitOk : kExitFailure;
}

} // namespace

const VerbTable& ImportTable()
{
    static const VerbTable table{
        .synopsis = "FILE SOURCE [OPTIONS]",
        .description = kDescriptionHead + ImportLayoutHelp() + kDescriptionTail,
        .options =
            {
                {kFormat, "format", 0, "LAYOUT", "the layout of SOURCE (default auto)", {.words = ImportLayoutNames()}},
                {kKeep, "keep", 0, "latest|earliest", "which weighing of a day counts (default latest)",
                    {.words = "latest earliest"}},
                {kZone, "tz", 0, "ZONE", "count UTC timestamps in ZONE instead (e.g. Asia/Tokyo)"},
                {kConvert, "convert", 0, nullptr,
                    "convert weights to the diary's unit exactly\n(1 lb = 0.45359237 kg)"},
                {kSkipBad, "skip-bad", 0, nullptr, "import the readable rows and list the skipped ones"},
                {kDryRun, "dry-run", 0, nullptr, "read and merge, print the summary, write nothing"},
                {kForce, "force", 0, nullptr,
                    "write over a FILE that carries more than 64 KiB after\nits diary data (it is probably not a diary)"},
            },
        .operands = {{.files = "tlg"}, {.files = ""}},
    };
    return table;
}

int RunImport(const std::vector<std::string>& args)
{
    return RunImportAs(args, "import");
}

int RunImportCsv(const std::vector<std::string>& args)
{
    return RunImportAs(args, "import-csv");
}
