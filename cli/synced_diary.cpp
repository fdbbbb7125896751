#include "cli/synced_diary.h"

#include "cli/verb_preamble.h"
#include "diary/sharing/conflict_copies.h"
#include "platform/number_text.h"

#include <charconv>
#include <cstdio>

namespace {

std::string WeightText(const std::optional<double>& weight)
{
    if (!weight)
        return "no weight (deleted)";
    // The shortest text that reads back as the same number, as dump prints it.
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, *weight).ptr);
}

void SayFold(const std::string& diary, const CopyFoldReport& report)
{
    WarnOfUnreadableCopies(diary, report);
    for (const DiaryConflict& conflict : report.conflicts)
        std::fprintf(stderr, "tarelog-cli: %s: %s\n", diary.c_str(), DescribeConflict(conflict, false).c_str());
    if (!report.folded.empty())
        std::fprintf(stderr, "tarelog-cli: %s: folded in %zu conflict %s (%zu %s changed)\n", diary.c_str(),
            report.folded.size(), report.folded.size() == 1 ? "copy" : "copies", report.daysFromCopies,
            report.daysFromCopies == 1 ? "day" : "days");
}

} // namespace

void WarnOfUnreadableCopies(const std::string& diary, const CopyFoldReport& report)
{
    for (const std::string& path : report.unreadable)
        std::fprintf(stderr,
            "tarelog-cli: warning: %s is named like a conflict copy of %s but is not a diary; left alone\n",
            path.c_str(), diary.c_str());
}

std::string NameOfConflict(const DiaryConflict& conflict)
{
    if (conflict.kind != DiaryConflict::Kind::Day)
        return "the unit and digits";
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", std::get<0>(conflict.day), std::get<1>(conflict.day),
        std::get<2>(conflict.day));
    return text;
}

std::string DescribeConflict(const DiaryConflict& conflict, bool wouldBe)
{
    const char* kept = wouldBe ? "would keep" : "kept";
    if (conflict.kind != DiaryConflict::Kind::Day)
        return "the unit and digits were changed on two machines: " + std::string(kept)
            + " the later change; the other is in " + conflict.otherPath;
    return NameOfConflict(conflict) + " was changed on two machines: " + kept + " " + WeightText(conflict.keptWeight)
        + " (the later change); the other weight, " + WeightText(conflict.otherWeight) + ", is in "
        + conflict.otherPath;
}

std::optional<DiaryFileFacts> LoadForWriting(SyncedDiaryWrite& write, CTarelogDoc& doc, bool& missing)
{
    const Result<DiaryFileFacts, DiaryFileError> loaded = write.Load(doc);
    missing = !loaded && IsMissingFile(loaded.error());
    if (!loaded && !missing) {
        ReportFailure(loaded.error());
        return std::nullopt;
    }
    SayFold(write.Path(), write.Report());
    return loaded ? std::optional<DiaryFileFacts>(*loaded) : DiaryFileFacts{};
}

bool SaveWritten(SyncedDiaryWrite& write, CTarelogDoc& doc, bool changed)
{
    if (!changed && !write.FoldChangedDiary()) {
        write.Finish();
        return true;
    }
    const Status<DiaryFileError> saved = write.Save(doc);
    if (!saved)
        ReportFailure(saved.error());
    return saved.has_value();
}

void MentionConflictCopies(const std::string& path)
{
    std::size_t copies = 0;
    for (const std::string& copy : FindConflictCopies(path)) {
        CTarelogDoc scratch;
        copies += LoadDiaryFile(copy, scratch).has_value();
    }
    if (copies == 0)
        return;
    std::fprintf(stderr,
        "tarelog-cli: %s has %zu conflict %s from a sync engine not yet folded in; "
        "'tarelog-cli merge %s' folds %s in\n",
        path.c_str(), copies, copies == 1 ? "copy" : "copies", path.c_str(), copies == 1 ? "it" : "them");
}
