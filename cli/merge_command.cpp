// tarelog-cli merge DIARY [OTHER...]: folds into DIARY the conflict copies
// that sync engines left beside it, and any other versions of it named.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"
#include "diary/sharing/synced_write.h"

#include <cstdio>
#include <string>

namespace {

enum MergeOption { kDryRun };

struct MergeArgs {
    bool dryRun = false;
    std::vector<std::string> files;
};

std::optional<std::vector<DiaryVersion>> LoadOthers(const std::vector<std::string>& paths)
{
    std::vector<DiaryVersion> others;
    for (const std::string& path : paths) {
        CTarelogDoc doc;
        const std::optional<DiaryFileFacts> loaded = LoadDiaryReporting(path, doc);
        if (!loaded)
            return std::nullopt;
        others.push_back(DiaryVersion{DiaryContents::Of(doc), loaded->identity.modifiedNs, path});
    }
    return others;
}

void PrintPlan(const MergeArgs& parsed, const SyncedDiaryWrite& write)
{
    const CopyFoldReport& report = write.Report();
    const char* verb = parsed.dryRun ? "would fold in" : "folded in";
    for (const std::string& copy : report.folded)
        std::printf("%s conflict copy %s\n", verb, copy.c_str());
    for (std::size_t i = 1; i < parsed.files.size(); ++i)
        std::printf("%s %s\n", verb, parsed.files[i].c_str());
    for (const DiaryConflict& conflict : report.conflicts)
        std::printf("%s\n", DescribeConflict(conflict, parsed.dryRun).c_str());
    std::printf("%s: %zu %s %s\n", write.Path().c_str(), report.daysFromCopies,
        report.daysFromCopies == 1 ? "day" : "days", parsed.dryRun ? "would change" : "changed");
}

} // namespace

const VerbTable& MergeTable()
{
    static const VerbTable table{
        .synopsis = "[--dry-run] DIARY [OTHER...]",
        .description = "Folds into DIARY the conflict copies that Syncthing, Nextcloud, ownCloud or\n"
                       "Dropbox made of it beside it, and the diaries OTHER (a backup, the diary of\n"
                       "another device), day by day: a day changed, added or deleted in one version\n"
                       "only keeps that change; a day two machines changed differently keeps the\n"
                       "later change and is named, with the other weight. Without this machine's\n"
                       "memory of DIARY every day of every version is kept. The copies are then\n"
                       "removed from DIARY's folder and kept for "
            + std::to_string(SyncedDiaryWrite::kKeptDays)
            + " days under\n"
              "$XDG_STATE_HOME/tarelog/conflict-copies; OTHER files stay where they are.\n"
              "Every verb that writes DIARY does the same first.\n",
        .options = {{kDryRun, "dry-run", 0, nullptr, "say what would be folded in and changed; write nothing"}},
        .operands = {{.files = "tlg"}, {.files = "tlg"}},
        .moreOperands = true,
    };
    return table;
}

int RunMerge(const std::vector<std::string>& args)
{
    ParsedArguments options;
    if (const auto stop = StartVerb(MergeTable(), "merge", args, options))
        return *stop;
    if (options.operands.empty())
        return UsageError("merge", "give the DIARY to fold its versions into");
    MergeArgs parsed{HasOption(options, kDryRun), options.operands};
    const std::optional<std::vector<DiaryVersion>> others = LoadOthers({parsed.files.begin() + 1, parsed.files.end()});
    if (!others)
        return kExitFailure;
    const std::optional<FileWriteLock> lock = LockDiaryReporting(parsed.files[0]);
    if (!lock)
        return kExitFailure;
    SyncedDiaryWrite write(*lock, SyncedDiaryWrite::DefaultStateFolder());
    CTarelogDoc doc;
    const Result<DiaryFileFacts, DiaryFileError> loaded = write.Load(doc, SyncedDiaryWrite::Copies::Fold, *others);
    if (!loaded)
        return ReportFailure(loaded.error());
    WarnOfUnreadableCopies(write.Path(), write.Report());
    PrintPlan(parsed, write);
    if (parsed.dryRun)
        return kExitOk;
    if (!write.FoldChangedDiary()) {
        write.Finish();
        return kExitOk;
    }
    const Status<DiaryFileError> saved = write.Save(doc);
    return saved ? kExitOk : ReportFailure(saved.error());
}
