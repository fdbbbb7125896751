#include "diary/sharing/diary_disk_state.h"

#include "platform/file_lock.h"

#include <cerrno>
#include <memory>

void DiaryDiskState::Remember(const std::string& path, const CTarelogDoc& doc, const FileIdentity& identity)
{
    m_path = path;
    m_base = DiaryContents::Of(doc);
    m_identity = identity;
    m_known = true;
    m_baseDiffers = false;
}

void DiaryDiskState::SetBase(DiaryContents base)
{
    m_base = std::move(base);
    m_baseDiffers = true;
}

void DiaryDiskState::Forget()
{
    *this = DiaryDiskState();
}

bool DiaryDiskState::ChangedOnDisk(const std::string& path) const
{
    return Knows(path) && IdentifyFile(path) != m_identity;
}

Status<DiaryFileError> LoadDiaryRemembering(const std::string& path, CTarelogDoc& doc, DiaryDiskState& state)
{
    const Result<DiaryFileFacts, DiaryFileError> loaded = LoadDiaryFile(path, doc);
    if (!loaded)
        return Failed{loaded.error()};
    state.Remember(path, doc, loaded->identity);
    return {};
}

namespace {

// The file was replaced by something that does not load: writing over it
// could destroy whatever another program put there.
DiaryFileError UnreadableChange(const std::string& path, const DiaryFileError& cause)
{
    DiaryFileError error = DiaryRefusalError(DiaryFileError::Kind::CannotWrite, path,
        DiaryRefusal::ChangedIntoUnreadable, ESTALE);
    error.cause = std::make_shared<const DiaryFileError>(cause);
    return error;
}

void TakeMerged(CTarelogDoc& doc, const DiaryContents& merged)
{
    if (DiaryContents::Of(doc) == merged)
        return;
    merged.ApplyTo(doc);
    doc.UpdateAllViews(nullptr, 0);
}

} // namespace

namespace {

// The file, its conflict copies folded in unless declined; nothing when the
// file is missing.
struct ReadUnderLock {
    std::optional<DiaryContents> disk;
    std::optional<DiaryFileError> failure;
};

ReadUnderLock ReadFolded(SyncedDiaryWrite& write, bool foldCopies, const AskCopyConflicts& askCopies)
{
    const auto copies = foldCopies ? SyncedDiaryWrite::Copies::Fold : SyncedDiaryWrite::Copies::Leave;
    CTarelogDoc disk;
    Result<DiaryFileFacts, DiaryFileError> loaded = write.Load(disk, copies);
    if (loaded && !write.Report().conflicts.empty() && askCopies && !askCopies(write.Report().conflicts))
        loaded = write.Load(disk, SyncedDiaryWrite::Copies::Leave);
    if (loaded)
        return {DiaryContents::Of(disk), std::nullopt};
    if (IsMissingFile(loaded.error()))
        return {std::nullopt, std::nullopt};
    return {std::nullopt, loaded.error()};
}

// A save writes. A fold writes only what conflict copies bring. A join
// only brings what the file and its copies gained into the document.
enum class MergeMode { Save, Fold, Join };

Result<DiarySaveOutcome, DiaryFileError> ReconcileWithFile(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskConflicts& ask, const AskCopyConflicts& askCopies, MergeMode mode)
{
    DiarySaveOutcome outcome;
    const Result<FileWriteLock, DiaryFileError> lock = LockDiaryFile(path);
    if (!lock)
        return Failed{lock.error()};
    // A file this window did not come from (Save As over another diary) is
    // replaced, as it always was; only its own file's copies are this
    // diary's versions.
    SyncedDiaryWrite write(*lock, SyncedDiaryWrite::DefaultStateFolder());
    const ReadUnderLock read = ReadFolded(write, state.Knows(path), askCopies);
    outcome.copies = write.Report();
    const bool needsMerge = state.NeedsMerge(path) || write.FoldChangedDiary();
    if (read.failure && state.NeedsMerge(path))
        return Failed{UnreadableChange(path, *read.failure)};
    if (read.disk && needsMerge) {
        const DiaryContents window = DiaryContents::Of(doc);
        const ConflictChoice first = mode == MergeMode::Join ? ConflictChoice::KeepWindow : ConflictChoice::KeepDisk;
        DiaryMergeResult merge = MergeDiaries(state.Base(), *read.disk, window, first);
        if (!merge.conflicts.empty() && mode == MergeMode::Save) {
            const std::optional<ConflictChoice> choice = ask ? ask(merge.conflicts) : std::nullopt;
            if (!choice) {
                outcome.cancelled = true;
                return outcome;
            }
            // The same three contents, read once under this lock: only the
            // conflicting values change sides.
            if (*choice == ConflictChoice::KeepWindow)
                merge = MergeDiaries(state.Base(), *read.disk, window, ConflictChoice::KeepWindow);
        }
        outcome.daysFromDisk = merge.daysFromDisk;
        outcome.merged = true;
        TakeMerged(doc, merge.merged);
    }
    if (mode == MergeMode::Join || (mode == MergeMode::Fold && outcome.copies.folded.empty()))
        return outcome;
    if (mode == MergeMode::Fold && !write.FoldChangedDiary()) {
        write.Finish();
        return outcome;
    }
    const DiaryContents before = DiaryContents::Of(doc);
    // A file that does not load and did not change is written over, as a
    // save always did; the fold then had nothing to read.
    const Status<DiaryFileError> saved = read.failure ? SaveDiaryFile(doc, *lock) : write.Save(doc);
    if (!saved) {
        DiaryFileError error = saved.error();
        error.path = path;
        return Failed{std::move(error)};
    }
    if (!(DiaryContents::Of(doc) == before))
        doc.UpdateAllViews(nullptr, 0);
    state.Remember(path, doc, IdentifyFile(path));
    return outcome;
}

} // namespace

Result<DiarySaveOutcome, DiaryFileError> SaveDiaryMerging(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskConflicts& ask, const AskCopyConflicts& askCopies)
{
    return ReconcileWithFile(doc, state, path, ask, askCopies, MergeMode::Save);
}

Result<DiarySaveOutcome, DiaryFileError> FoldCopiesIntoFile(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskCopyConflicts& askCopies)
{
    return ReconcileWithFile(doc, state, path, {}, askCopies, MergeMode::Fold);
}

Result<DiarySaveOutcome, DiaryFileError> JoinDiskChanges(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskCopyConflicts& askCopies)
{
    return ReconcileWithFile(doc, state, path, {}, askCopies, MergeMode::Join);
}
