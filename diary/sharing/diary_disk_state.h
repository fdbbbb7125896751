#pragma once

#include "diary/diary_file.h"
#include "diary/sharing/diary_merge.h"
#include "diary/sharing/synced_write.h"

#include <functional>
#include <optional>

#include <string>
#include <vector>

// diary/sharing/ keeps a diary whole among other writers: the snapshot a merge
// works on (diary_contents.h), a diary seen day by day (day_values.h), what
// two versions hold differently (diary_conflict.h), the three-way merge
// (diary_merge.h), what a window knows of its file and the save that merges
// (this header); for the conflict copies that sync engines leave beside a
// diary, their names (conflict_copies.h), this machine's memory of the diary
// (sync_state.h), the fold of the versions (version_fold.h), the
// read-fold-write every writer goes through (synced_write.h) and the folded
// copies kept for a while (kept_copies.h); what one change of the window did,
// to undo and redo it (diary_step.h). It depends on the document (diary/)
// and platform/ only.
//
// What a window knows of the file its diary came from: the contents it last
// loaded from or saved to it (the base of a merge) and the identity of that
// file, so that a change made by another program or device is noticed and
// merged instead of overwritten.
class DiaryDiskState {
public:
    // After a load or save that left `doc` equal to the file at `path`.
    void Remember(const std::string& path, const CTarelogDoc& doc, const FileIdentity& identity);
    void Forget();

    bool Knows(const std::string& path) const { return m_known && path == m_path; }
    // The file at `path` is no longer the one remembered: replaced, edited,
    // or gone. False for a path this state does not know.
    bool ChangedOnDisk(const std::string& path) const;
    const DiaryContents& Base() const { return m_base; }
    // Puts back the base of changes made before (a restored recovery copy):
    // the file may hold more than that base, so the next save merges even
    // when the file did not change since it was loaded.
    void SetBase(DiaryContents base);
    // The next save of `path` must merge with the file.
    bool NeedsMerge(const std::string& path) const { return Knows(path) && (m_baseDiffers || ChangedOnDisk(path)); }

private:
    std::string m_path;
    DiaryContents m_base;
    FileIdentity m_identity;
    bool m_known = false;
    bool m_baseDiffers = false;
};

// Loads `path` into `doc` and remembers it in `state`.
Status<DiaryFileError> LoadDiaryRemembering(const std::string& path, CTarelogDoc& doc, DiaryDiskState& state);

// Asked, under the write lock, about the things the file and the window
// changed differently, as keeping the file's values settles them (each
// conflict's kept weight is the file's, the other the window's); no choice
// (nullopt) cancels the save.
using AskConflicts = std::function<std::optional<ConflictChoice>(const std::vector<DiaryConflict>& conflicts)>;

// Asked, under the write lock, about days that two machines changed
// differently (what a conflict copy holds against the diary): true folds
// the copies in keeping the later changes, false leaves them where they are.
using AskCopyConflicts = std::function<bool(const std::vector<DiaryConflict>& conflicts)>;

// What a save that did not fail did.
struct DiarySaveOutcome {
    bool cancelled = false;       // the question about conflicts was declined: nothing was written
    std::size_t daysFromDisk = 0; // days the disk's changes brought in
    bool merged = false;          // the file had changed and was merged
    CopyFoldReport copies;        // the conflict copies beside the file, and what became of them
};

// Saves `doc` to `path` under the file's write lock. When the file changed
// since `state` last saw it, the base, the file and `doc` are merged day by
// day first; conflicts, if any, are put to `ask`, and `doc` takes the merged
// contents of the choice (its views are updated). The file is locked and
// read once, so what the question shows is what is written. A file that
// changed into something that is not a diary is not written over. On
// success `state` remembers the file as saved.
//
// The conflict copies that sync engines left beside a file this state knows
// are folded into what the file holds first (SyncedDiaryWrite), with the
// days two machines changed differently put to `askCopies`; the save then
// takes the folded copies away.
Result<DiarySaveOutcome, DiaryFileError> SaveDiaryMerging(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskConflicts& ask, const AskCopyConflicts& askCopies = {});

// For a window without unsaved changes, when conflict copies appear beside
// its file: `doc` takes what the copies and the file bring, as a save would
// merge them (conflicts with the window keep the file's values), and the
// file is written only when copies were folded in.
Result<DiarySaveOutcome, DiaryFileError> FoldCopiesIntoFile(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskCopyConflicts& askCopies);

// For a window with unsaved changes: `doc` takes what the file and its
// copies gained, and nothing is written; the next save writes it.
// Conflicts with the window keep the window's values until then.
Result<DiarySaveOutcome, DiaryFileError> JoinDiskChanges(CTarelogDoc& doc, DiaryDiskState& state,
    const std::string& path, const AskCopyConflicts& askCopies);
