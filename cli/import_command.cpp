// tarelog-cli import FILE SOURCE (also under its old name, import-csv):
// merges another program's export (or a spreadsheet) into a diary, one
// weight per day.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "doc/import/diary_import.h"
#include "platform/format.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

const char kUsageHead[] = "usage: tarelog-cli import FILE SOURCE [--format LAYOUT] [--keep latest|earliest]\n"
                          "                          [--tz ZONE] [--convert] [--skip-bad] [--dry-run] [--force]\n"
                          "       (import-csv is the same verb under its old name)\n\n"
                          "Merges the weights of SOURCE, another program's export, into the diary FILE\n"
                          "(created when missing), one weight per calendar day, as the entry dialog would\n"
                          "record them: a day already in the diary gets the imported weight, a new day is\n"
                          "inserted at its date position. SOURCE may also be a zip archive as the\n"
                          "services hand them out (Apple's export.zip, a Google Takeout zip): its first\n"
                          "file that a layout recognises is read, without unpacking.\n\n"
                          "LAYOUT is one of\n";

const char kUsageTail[] = "\nWhich weighing of a day counts: the latest by its time of day, whatever order\n"
                          "the file has (weighings of the same time: the last in the file).\n"
                          "  --keep earliest  the earliest weighing of each day instead\n"
                          "A timestamp with an offset counts by its date as written (the writer's day); a\n"
                          "UTC timestamp counts by its date in the local time zone (TZ).\n"
                          "  --tz ZONE        count UTC timestamps in ZONE instead (e.g. Asia/Tokyo)\n\n"
                          "A new diary takes the unit the file states (kg or lb). Weights in another unit\n"
                          "than the diary's, or a file that mixes units, are refused unless\n"
                          "  --convert        converts them exactly (1 lb = 0.45359237 kg)\n\n"
                          "Rows that measure something else (no weight) and rows marked interpolated are\n"
                          "left out and counted. A row that cannot be read stops the import with its line\n"
                          "number (the first 20 are listed) and FILE is not changed.\n"
                          "  --skip-bad       import the readable rows and list the skipped ones\n"
                          "  --dry-run        read and merge, print the summary, write nothing\n"
                          "  --force          write over a FILE that carries more than 64 KiB after its\n"
                          "                   diary data (it is probably not a diary)\n"
                          "The summary on standard error counts the days added and replaced and the rows\n"
                          "left out.\n";

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

// The usage names the verb as it was called: import, or its old name.
std::string UsageOf(const char* verb)
{
    constexpr std::string_view kPrefix = "usage: tarelog-cli import";
    return "usage: tarelog-cli " + std::string(verb) + (kUsageHead + kPrefix.size()) + ImportLayoutHelp() + kUsageTail;
}

Status<std::string> ParseOption(const std::string& option, const std::string& value, ImportArgs& parsed)
{
    if (option == "--format") {
        if (!ParseImportLayoutName(value, parsed.layout))
            return Failed{"unknown layout '" + value + "' for --format"};
    } else if (option == "--keep") {
        if (value != "latest" && value != "earliest")
            return Failed{"--keep takes latest or earliest, not '" + value + "'"};
        parsed.keep = value == "earliest" ? KeepRule::Earliest : KeepRule::Latest;
    } else if (option == "--tz") {
        parsed.zone = value;
    }
    return {};
}

struct Flag {
    const char* name;
    bool ImportArgs::*member;
};

constexpr Flag kFlags[] = {{"--skip-bad", &ImportArgs::skipBad}, {"--dry-run", &ImportArgs::dryRun},
    {"--convert", &ImportArgs::convert}, {"--force", &ImportArgs::force}};

bool SetFlag(const std::string& arg, ImportArgs& parsed)
{
    for (const Flag& flag : kFlags) {
        if (arg == flag.name) {
            parsed.*flag.member = true;
            return true;
        }
    }
    return false;
}

Status<std::string> ParseArgs(const VerbArguments& args, ImportArgs& parsed)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string option = arg.substr(0, equals);
        if (args.IsOption(i) && SetFlag(arg, parsed))
            continue;
        if (args.IsOption(i) && (option == "--format" || option == "--keep" || option == "--tz")) {
            if (equals == std::string::npos && i + 1 >= args.size())
                return Failed{option + " needs a value"};
            const std::string value = equals == std::string::npos ? args[++i] : arg.substr(equals + 1);
            if (Status<std::string> parsedOption = ParseOption(option, value, parsed); !parsedOption)
                return parsedOption;
        } else if (!args.IsOption(i)) {
            positional.push_back(arg);
        } else {
            return Failed{"unknown option '" + arg + "'"};
        }
    }
    if (positional.size() != 2)
        return Failed{std::string("expected a diary FILE and a SOURCE to import")};
    parsed.diary = positional[0];
    parsed.source = positional[1];
    return {};
}

// A zone name (Area/City, UTC) must exist in the time zone database, since
// the C library quietly reads an unknown one as UTC; a POSIX rule such as
// JST-9 carries its own offset.
bool UseTimeZone(const std::string& zone)
{
    const bool posixRule = zone.find_first_of("0123456789") != std::string::npos;
    if (!posixRule) {
        const char* root = std::getenv("TZDIR");
        const std::filesystem::path file = std::filesystem::path(root != nullptr ? root : "/usr/share/zoneinfo") / zone;
        std::error_code ignored;
        if (zone.empty() || zone.find("..") != std::string::npos || !std::filesystem::is_regular_file(file, ignored))
            return false;
    }
    setenv("TZ", zone.c_str(), 1);
    tzset();
    return true;
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

int RunImportAs(const VerbArguments& args, const char* verb)
{
    ImportArgs parsed;
    if (const auto stop = CheckVerbUsage(args, UsageOf(verb), Framed(ParseArgs(args, parsed), "tarelog-cli: ", "\n")))
        return *stop;
    if (!parsed.zone.empty() && !UseTimeZone(parsed.zone)) {
        std::fprintf(stderr, "tarelog-cli: unknown time zone '%s' for --tz\n", parsed.zone.c_str());
        return kExitUsage;
    }
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

int RunImport(const VerbArguments& args)
{
    return RunImportAs(args, "import");
}

int RunImportCsv(const VerbArguments& args)
{
    return RunImportAs(args, "import-csv");
}
