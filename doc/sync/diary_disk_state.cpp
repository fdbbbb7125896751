#include "doc/sync/diary_disk_state.h"

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

Result<DiarySaveOutcome, DiaryFileError> SaveDiaryMerging(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskConflicts& ask)
{
    DiarySaveOutcome outcome;
    const Result<FileWriteLock, DiaryFileError> lock = LockDiaryFile(path);
    if (!lock)
        return Failed{lock.error()};
    const FileIdentity current = IdentifyFile(path);
    if (current.exists && state.NeedsMerge(path)) {
        CTarelogDoc disk;
        if (const auto loaded = LoadDiaryFile(path, disk); !loaded)
            return Failed{UnreadableChange(path, loaded.error())};
        const DiaryContents diskContents = DiaryContents::Of(disk);
        const DiaryContents window = DiaryContents::Of(doc);
        DiaryMergeResult merge = MergeDiaries(state.Base(), diskContents, window, ConflictChoice::KeepDisk);
        if (!merge.conflicts.empty()) {
            const std::optional<ConflictChoice> choice = ask ? ask(merge.conflicts) : std::nullopt;
            if (!choice) {
                outcome.cancelled = true;
                return outcome;
            }
            // The same three contents, read once under this lock: only the
            // conflicting values change sides.
            if (*choice == ConflictChoice::KeepWindow)
                merge = MergeDiaries(state.Base(), diskContents, window, ConflictChoice::KeepWindow);
        }
        outcome.daysFromDisk = merge.daysFromDisk;
        outcome.merged = true;
        TakeMerged(doc, merge.merged);
    }
    if (const Status<DiaryFileError> saved = SaveDiaryFile(doc, *lock); !saved) {
        DiaryFileError error = saved.error();
        error.path = path;
        return Failed{std::move(error)};
    }
    state.Remember(path, doc, IdentifyFile(path));
    return outcome;
}
